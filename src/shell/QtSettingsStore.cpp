#include "shell/QtSettingsStore.h"

#include <QSettings>
#include <QString>

namespace trelvox {

namespace {

QString SettingsKey(const std::string& section, const std::string& key) {
  return QString::fromLocal8Bit(section) + QLatin1Char('/') + QString::fromLocal8Bit(key);
}

}  // namespace

std::string QtSettingsStore::Get(const std::string& application, const std::string& section,
                                 const std::string& key, const std::string& fallback) const {
  const QString name = QString::fromLocal8Bit(application);
  const QSettings settings(name, name);
  const QVariant value = settings.value(SettingsKey(section, key));
  if (!value.isValid()) {
    return fallback;
  }
  return value.toString().toLocal8Bit().toStdString();
}

void QtSettingsStore::Set(const std::string& application, const std::string& section,
                          const std::string& key, const std::string& value) {
  const QString name = QString::fromLocal8Bit(application);
  QSettings settings(name, name);
  settings.setValue(SettingsKey(section, key), QString::fromLocal8Bit(value));
}

}  // namespace trelvox
