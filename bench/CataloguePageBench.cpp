// The catalogue page's drawing: one row redrawn with its sample picture and copied to the
// shown canvas, and one tick of the spinner with six rows downloading.

#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QStackedWidget>

#include "OffscreenApplication.h"
#include "platform/ServiceAddresses.h"
#include "ui/CataloguePage.h"
#include "ui/PageControlFactory.h"

namespace glyphwell::ui {
namespace {

// A sample picture like the catalogue's: a line of text as a JPEG.
std::string SamplePictureBytes() {
    QImage image(330, 38, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(SongFont(30));
    painter.drawText(image.rect(), Qt::AlignLeft | Qt::AlignVCenter, "字体样张 Sample");
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    return bytes.toStdString();
}

// A catalogue page with six rows, as the program shows it.
struct ShownPage {
    ShownPage() {
        for (int i = 0; i <= CataloguePage::kPageIndex; ++i) {
            pages.addWidget(new QWidget);
        }
        page = new CataloguePage(*pages.widget(CataloguePage::kPageIndex), context);
        CatalogueSource source;
        const std::string picture = SamplePictureBytes();
        source.readSubcategoryNames = [](int) { return std::vector<std::string>{"全部字体"}; };
        source.countCatalogueFonts = [](const std::string&) { return 6; };
        source.readCataloguePage = [picture](const std::string&, int) {
            catalogue::CataloguePage rows;
            rows.Remaining = 6;
            for (int i = 1; i <= 6; ++i) {
                rows.Fonts.push_back(
                    {"字体 " + std::to_string(i), "f" + std::to_string(i), picture});
            }
            return rows;
        };
        source.installedMark = [](const std::string&) { return 1; };
        page->UseCatalogue(source);
        pages.resize(736, 490);
        pages.setCurrentIndex(CataloguePage::kPageIndex);
        pages.show();
        page->Browser().ShowCategory(0);
        QApplication::processEvents();
    }
    QApplication& application = bench::OffscreenApplication();  // before any widget
    QStackedWidget pages;
    platform::ServiceAddresses addresses;
    LinkOpener open = [](const QString&) {};
    PageContext context{pages, addresses, open};
    CataloguePage* page = nullptr;
};

void BM_DrawCatalogueRow(benchmark::State& state) {
    ShownPage shown;
    bool highlighted = false;
    for (auto _ : state) {
        shown.page->Browser().DrawCatalogueRow(3, highlighted);
        highlighted = !highlighted;
    }
}
BENCHMARK(BM_DrawCatalogueRow)->Unit(benchmark::kMillisecond);

void BM_AnimationTickSixDownloading(benchmark::State& state) {
    ShownPage shown;
    for (int row = 1; row <= 6; ++row) {
        shown.page->Browser().StartFontDownload(row);
    }
    for (auto _ : state) {
        shown.page->Browser().AnimationTick();
    }
}
BENCHMARK(BM_AnimationTickSixDownloading)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace glyphwell::ui

BENCHMARK_MAIN();
