#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <functional>

class QDialog;
class QWidget;

namespace trelvox::testing {

// One modal box or dialog as the user saw it.
struct SeenModal {
  QString kind;   // "message", "question", "input", "open", "save", or the window's class
  QString title;  // the window title
  QString text;   // message, prompt, or the dialog's filters joined by ";;"
};

// Answers the program's modal boxes and dialogs one after another, from answers listed in
// advance, the way a user would: it watches for the active modal widget and answers it from
// the event loop, so that the code under test runs exactly as it does for a person.
class ModalAnswerer final : public QObject {
  Q_OBJECT

 public:
  using Answer = std::function<void(QWidget*)>;

  ModalAnswerer();

  ModalAnswerer& Then(Answer answer);
  ModalAnswerer& Ok();
  ModalAnswerer& Yes();
  ModalAnswerer& No();
  // Types into an input box and presses Enter.
  ModalAnswerer& Type(const QString& text);
  // Enters a path in the file dialog's name field and accepts it.
  ModalAnswerer& Choose(const QString& path);
  ModalAnswerer& Cancel();

  const QList<SeenModal>& Seen() const { return seen_; }
  QStringList Titles() const;
  QStringList Texts() const;
  // Boxes that came without an answer left, and answers that did not fit their box.
  const QStringList& Problems() const { return problems_; }
  qsizetype Unused() const { return answers_.size(); }

 private:
  void Poll();
  void Record(QWidget* modal);
  void Dismiss(QWidget* modal);

  QTimer poll_;
  QList<Answer> answers_;
  QList<SeenModal> seen_;
  QStringList problems_;
  // Dialogs answered and not finished yet; a box that one of them opens is answered in turn.
  QList<QPointer<QDialog>> beingAnswered_;
};

}  // namespace trelvox::testing
