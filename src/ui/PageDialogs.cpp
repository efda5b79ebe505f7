#include "ui/PageDialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace glyphwell::ui {

PageDialogs StandardDialogs(QWidget& owner) {
    PageDialogs dialogs;
    dialogs.askYesNo = [&owner](const QString& caption, const QString& question) {
        return QMessageBox::question(&owner, caption, question,
                                     QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    };
    dialogs.askOkCancel = [&owner](const QString& question) {
        return QMessageBox::question(&owner, kMessageCaption, question,
                                     QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
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
