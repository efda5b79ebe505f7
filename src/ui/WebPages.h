#pragma once
// The three web pages: "设计资源" with its four link buttons over one browser box, "设计商城"
// and "作品欣赏", each a browser box on a page of the web site.

#include <QObject>
#include <QString>

#include "ui/PageControlFactory.h"

namespace glyphwell::ui {

class BrowserBox;

class WebPages : public QObject {
    Q_OBJECT
  public:
    static constexpr int kFirstPageIndex = 5;
    static constexpr int kLastPageIndex = 7;

    // `pages` holds the container's pages; the three web pages are taken from it.
    WebPages(QWidget* const* pages, const PageContext& context);

    BrowserBox& DesignResourcesBox() { return *designResourcesBox_; }

  private:
    BrowserBox* designResourcesBox_ = nullptr;
};

}  // namespace glyphwell::ui
