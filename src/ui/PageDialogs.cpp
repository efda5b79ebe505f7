#include "ui/PageDialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace glyphwell::ui {
namespace {

// A question whose safe answer is the default: Enter never removes anything.
bool AskDefaultingTo(QWidget& owner, const QString& caption, const QString& question,
                     const QString& details, QMessageBox::StandardButtons buttons,
                     QMessageBox::StandardButton safe, QMessageBox::StandardButton proceed) {
    QMessageBox box(QMessageBox::Question, caption, question, buttons, &owner);
    box.setInformativeText(details);
    box.setDefaultButton(safe);
    box.setEscapeButton(safe);
    return box.exec() == proceed;
}

}  // namespace

PageDialogs StandardDialogs(QWidget& owner) {
    PageDialogs dialogs;
    dialogs.askYesNo = [&owner](const QString& caption, const QString& question) {
        return QMessageBox::question(&owner, caption, question,
                                     QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    };
    dialogs.confirmRemoval = [&owner](const QString& caption, const QString& question,
                                      const QString& details) {
        return AskDefaultingTo(owner, caption, question, details,
                               QMessageBox::Yes | QMessageBox::No, QMessageBox::No,
                               QMessageBox::Yes);
    };
    dialogs.askOkCancel = [&owner](const QString& question, const QString& details) {
        return AskDefaultingTo(owner, kMessageCaption, question, details,
                               QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel,
                               QMessageBox::Ok);
    };
    dialogs.tell = [&owner](const QString& caption, const QString& message) {
        QMessageBox::information(&owner, caption, message);
    };
    dialogs.chooseFolder = [&owner](const QString& title) {
        // Qt's own dialog: it has the box for typing a path.
        return QFileDialog::getExistingDirectory(
            &owner, title, QString(), QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    };
    return dialogs;
}

}  // namespace glyphwell::ui
