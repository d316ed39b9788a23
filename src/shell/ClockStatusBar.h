#pragma once

#include <QStatusBar>

class QLabel;
class QTimer;

namespace trelvox {

class Locale;

// Three panels: "Status", today's date and the time of day, in the user's short formats (the
// date in the very form the output files use). The bar keeps its date and time current itself.
class ClockStatusBar final : public QStatusBar {
  Q_OBJECT

 public:
  ClockStatusBar(const Locale& locale, QWidget* parent);
  void Refresh();

 private:
  const Locale& locale_;
  QLabel* date_;
  QLabel* time_;
  QTimer* timer_;
};

}  // namespace trelvox
