#pragma once

#include <QStatusBar>

class QLabel;
class QTimer;

namespace trelvox {

// Three panels: "Status", today's date and the time of day, in the user's short formats. The
// bar keeps its date and time current by itself.
class ClockStatusBar final : public QStatusBar {
  Q_OBJECT

 public:
  explicit ClockStatusBar(QWidget* parent);
  void Refresh();

 private:
  QLabel* date_;
  QLabel* time_;
  QTimer* timer_;
};

}  // namespace trelvox
