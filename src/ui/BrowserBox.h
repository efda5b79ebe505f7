#pragma once
// A browser box that waits for the main window. The first page any box shows starts the
// browser engine, whose settings ask Qt for the default font families; with thousands of
// installed fonts that alone takes seconds. So boxes neither load nor show a page until
// StartBrowserBoxes, which the main window calls once it has painted.

#include <QUrl>
#include <QWebEngineView>

namespace glyphwell::ui {

class BrowserBox : public QWebEngineView {
    Q_OBJECT
  public:
    BrowserBox(QUrl startAddress, QWidget* parent);

    // Loads `address` now; the start address no longer replaces it.
    void Load(const QUrl& address);

    // True once the boxes have started: from then on a box starts as it is made.
    static bool Started();

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    friend void StartBrowserBoxes();
    void Start();

    QUrl startAddress_;
    bool started_ = false;
    bool loaded_ = false;
};

// Starts every browser box, now and later: each loads its start address, and the shown ones
// show their page. Interface thread; once is enough.
void StartBrowserBoxes();

// Works out the font families the browser engine asks for on a thread of its own (Qt keeps
// them), then starts the boxes on the interface thread, so that neither waits for the other.
// Interface thread; later calls do nothing.
void StartBrowserBoxesSoon();

}  // namespace glyphwell::ui
