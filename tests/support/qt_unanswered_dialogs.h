// A modal dialog that a test did not arrange an answer for fails that test at once: without this
// it would wait for a click that never comes until the run's time-out. The dialog is dismissed
// (as by Escape), so the code under test goes on and the test reports everything else it checks.
#pragma once
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QMessageBox>
#include <QMetaObject>

namespace zelor::test {

class UnansweredDialogs : public QObject {
 public:
  explicit UnansweredDialogs(QApplication& app) : QObject(&app) { app.installEventFilter(this); }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Show) return false;
    auto* dialog = qobject_cast<QDialog*>(watched);
    if (dialog == nullptr || !dialog->isModal()) return false;
    QString what = dialog->windowTitle();
    if (const auto* box = qobject_cast<QMessageBox*>(dialog)) what += " " + box->text();
    ADD_FAILURE() << "a modal dialog the test did not answer: " << dialog->metaObject()->className() << " \""
                  << what.trimmed().toStdString() << "\"";
    QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
    return false;
  }
};

}  // namespace zelor::test
