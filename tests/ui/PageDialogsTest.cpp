// The standard questions before something is removed or deleted: Enter or Escape never goes on.

#include "ui/PageDialogs.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include "ui/TestApplication.h"

namespace glyphwell::ui {
namespace {

// Answers the next question with `key`, after noting its default button and details.
struct Answerer {
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QString details;

    void AnswerNextWith(Qt::Key key) {
        QTimer::singleShot(0, [this, key] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            defaultButton = box->standardButton(box->defaultButton());
            details = box->informativeText();
            QTest::keyClick(box, key);
        });
    }
};

TEST(PageDialogsTest, RemovingQuestionsDefaultToNoAndNameWhatTheyActOn) {
    test::TestApplication();
    QWidget owner;
    owner.show();
    const PageDialogs dialogs = StandardDialogs(owner);
    Answerer answerer;
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        answerer.AnswerNextWith(key);
        EXPECT_FALSE(dialogs.confirmRemoval("信息：", "是否执行批量卸载?", "共1个字体:\nAlpha"));
        EXPECT_EQ(answerer.defaultButton, QMessageBox::No);
        EXPECT_EQ(answerer.details, "共1个字体:\nAlpha");

        answerer.AnswerNextWith(key);
        EXPECT_FALSE(
            dialogs.askOkCancel("确实要永久删除选中的文件吗?", "共2个字体:\na.ttf\nb.ttf"));
        EXPECT_EQ(answerer.defaultButton, QMessageBox::Cancel);
    }
}

}  // namespace
}  // namespace glyphwell::ui
