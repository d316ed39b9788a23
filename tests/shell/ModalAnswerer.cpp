#include "ModalAnswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>

namespace trelvox::testing {

namespace {

constexpr int kPollMilliseconds = 10;

SeenModal Describe(QWidget* modal) {
  SeenModal seen{QString::fromLatin1(modal->metaObject()->className()), modal->windowTitle(), {}};
  if (auto* box = qobject_cast<QMessageBox*>(modal)) {
    seen.kind = box->button(QMessageBox::Yes) != nullptr ? QStringLiteral("question")
                                                         : QStringLiteral("message");
    seen.text = box->text();
  } else if (auto* input = qobject_cast<QInputDialog*>(modal)) {
    seen.kind = QStringLiteral("input");
    seen.text = input->labelText();
  } else if (auto* files = qobject_cast<QFileDialog*>(modal)) {
    seen.kind = files->acceptMode() == QFileDialog::AcceptSave ? QStringLiteral("save")
                                                               : QStringLiteral("open");
    seen.text = files->nameFilters().join(QStringLiteral(";;"));
  }
  return seen;
}

ModalAnswerer::Answer PressButton(QMessageBox::StandardButton which, const char* name) {
  return [which, name](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    QAbstractButton* button = box != nullptr ? box->button(which) : nullptr;
    if (button == nullptr) {
      qWarning("expected a box with %s, got %s", name, modal->metaObject()->className());
      QMetaObject::invokeMethod(modal, "reject");
      return;
    }
    button->click();
  };
}

}  // namespace

ModalAnswerer::ModalAnswerer() {
  connect(&poll_, &QTimer::timeout, this, &ModalAnswerer::Poll);
  poll_.start(kPollMilliseconds);
}

ModalAnswerer& ModalAnswerer::Then(Answer answer) {
  answers_.append(std::move(answer));
  return *this;
}

ModalAnswerer& ModalAnswerer::Ok() {
  return Then(PressButton(QMessageBox::Ok, "OK"));
}
ModalAnswerer& ModalAnswerer::Yes() {
  return Then(PressButton(QMessageBox::Yes, "Yes"));
}
ModalAnswerer& ModalAnswerer::No() {
  return Then(PressButton(QMessageBox::No, "No"));
}

ModalAnswerer& ModalAnswerer::Type(const QString& text) {
  return Then([text](QWidget* modal) {
    auto* edit = qobject_cast<QInputDialog*>(modal) ? modal->findChild<QLineEdit*>() : nullptr;
    if (edit == nullptr) {
      qWarning("expected an input box, got %s", modal->metaObject()->className());
      QMetaObject::invokeMethod(modal, "reject");
      return;
    }
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
  });
}

ModalAnswerer& ModalAnswerer::Choose(const QString& path) {
  return Then([path](QWidget* modal) {
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    auto* name =
        dialog != nullptr ? dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")) : nullptr;
    if (name == nullptr) {
      qWarning("expected the file dialog, got %s", modal->metaObject()->className());
      QMetaObject::invokeMethod(modal, "reject");
      return;
    }
    name->setText(path);
    QMetaObject::invokeMethod(dialog, "accept");
  });
}

ModalAnswerer& ModalAnswerer::Cancel() {
  return Then([](QWidget* modal) { QMetaObject::invokeMethod(modal, "reject"); });
}

QStringList ModalAnswerer::Titles() const {
  QStringList titles;
  for (const SeenModal& seen : seen_) {
    titles << seen.title;
  }
  return titles;
}

QStringList ModalAnswerer::Texts() const {
  QStringList texts;
  for (const SeenModal& seen : seen_) {
    texts << seen.text;
  }
  return texts;
}

void ModalAnswerer::Poll() {
  auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
  if (modal == nullptr || !modal->isVisible()) {
    return;
  }
  beingAnswered_.removeAll(QPointer<QDialog>());
  // The same dialog object comes back for every file choice; each showing is a new one.
  if (beingAnswered_.contains(QPointer<QDialog>(modal))) {
    return;
  }
  beingAnswered_.append(modal);
  connect(
      modal, &QDialog::finished, this,
      [this, modal] { beingAnswered_.removeAll(QPointer<QDialog>(modal)); },
      Qt::SingleShotConnection);
  Record(modal);
  if (answers_.isEmpty()) {
    problems_ << QStringLiteral("no answer left for: ") + seen_.last().kind + QLatin1Char(' ') +
                     seen_.last().title + QStringLiteral(" / ") + seen_.last().text;
    Dismiss(modal);
    return;
  }
  // Answered from the event loop, outside this timer, so that a box the answer opens in turn
  // (the overwrite question of a save dialog) is answered too.
  const Answer answer = answers_.takeFirst();
  QPointer<QWidget> target = modal;
  QTimer::singleShot(0, this, [answer, target] {
    if (target) {
      answer(target);
    }
  });
}

void ModalAnswerer::Record(QWidget* modal) {
  seen_.append(Describe(modal));
}

void ModalAnswerer::Dismiss(QWidget* modal) {
  if (auto* box = qobject_cast<QMessageBox*>(modal)) {
    if (QAbstractButton* no = box->button(QMessageBox::No)) {
      QTimer::singleShot(0, no, &QAbstractButton::click);
      return;
    }
  }
  QMetaObject::invokeMethod(modal, "reject", Qt::QueuedConnection);
}

}  // namespace trelvox::testing
