#include "ui/InstallPathWindow.h"

#include <QFileDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "app/Settings.h"
#include "ui/logic/PageControls.h"

namespace glyphwell::ui {

InstallPathWindow::InstallPathWindow(QWidget* owner, std::function<QString(QWidget*)> chooseFolder)
    : QDialog(owner), chooseFolder_(std::move(chooseFolder)) {
    if (!chooseFolder_) {
        chooseFolder_ = [](QWidget* parent) {
            return QFileDialog::getExistingDirectory(parent, "我的电脑");
        };
    }
    setObjectName("安装路径窗口");
    setWindowTitle("综合设置");
    setFixedSize(380, 250);
    auto* group = new QGroupBox("字体安装路径设置", this);
    group->setGeometry(16, 16, 348, 218);
    pathBox_ = new QLineEdit(group);
    pathBox_->setObjectName(kInstallPathBoxName);
    pathBox_->setGeometry(16, 48, 316, 24);
    auto* choose = new QPushButton("选择", group);
    choose->setObjectName("按钮1");
    choose->setGeometry(56, 120, 96, 32);
    auto* confirm = new QPushButton("确定", group);
    confirm->setObjectName("按钮2");
    confirm->setGeometry(196, 120, 96, 32);
    connect(choose, &QPushButton::clicked, this, &InstallPathWindow::Choose);
    connect(confirm, &QPushButton::clicked, this, &InstallPathWindow::Confirm);
}

void InstallPathWindow::Choose() {
    pathBox_->setText(chooseFolder_(this));
}

void InstallPathWindow::Confirm() {
    if (!app::WriteInstallPath(pathBox_->text().toStdString())) {
        QMessageBox::warning(this, "信息：", "设置未能保存：peizhi.ini 无法写入。");
    }
}

}  // namespace glyphwell::ui
