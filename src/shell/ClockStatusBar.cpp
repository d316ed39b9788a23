#include "shell/ClockStatusBar.h"

#include <QDateTime>
#include <QLabel>
#include <QLocale>
#include <QTimer>

#include "desktop/WindowLayout.h"
#include "platform/Locale.h"

namespace trelvox {

namespace {

constexpr int kRefreshMilliseconds = 1000;

QLabel* AddPanel(QStatusBar* bar, const char* name, const QString& text, bool stretch) {
  auto* panel = new QLabel(text, bar);
  panel->setObjectName(QString::fromLatin1(name));
  panel->setFrameShape(QFrame::Panel);
  panel->setFrameShadow(QFrame::Sunken);
  panel->setContentsMargins(4, 0, 4, 0);
  if (stretch) {
    bar->addWidget(panel, 1);
  } else {
    bar->addPermanentWidget(panel);
  }
  return panel;
}

}  // namespace

ClockStatusBar::ClockStatusBar(const Locale& locale, QWidget* parent)
    : QStatusBar(parent),
      locale_(locale),
      date_(nullptr),
      time_(nullptr),
      timer_(new QTimer(this)) {
  setObjectName(QStringLiteral("sbStatusBar"));
  setSizeGripEnabled(true);
  for (const PanelDescription& described : StatusPanels()) {
    const bool isText = described.content == PanelContent::Text;
    QLabel* panel = AddPanel(this, described.name, QString::fromLatin1(described.text), isText);
    if (described.content == PanelContent::Date) {
      date_ = panel;
    } else if (described.content == PanelContent::Time) {
      time_ = panel;
    }
  }
  Refresh();
  connect(timer_, &QTimer::timeout, this, &ClockStatusBar::Refresh);
  timer_->start(kRefreshMilliseconds);
}

void ClockStatusBar::Refresh() {
  const QDateTime now = QDateTime::currentDateTime();
  const QDate today = now.date();
  date_->setText(
      QString::fromStdString(locale_.ShortDate(Date{today.year(), today.month(), today.day()})));
  time_->setText(QLocale::system().toString(now.time(), QLocale::ShortFormat));
}

}  // namespace trelvox
