#pragma once
// A web site and catalogue server on 127.0.0.1 for the update's tests: "/ztym.txt" names itself,
// "/ztpz.txt" and "/ztysb.data" answer what the test sets, delivered in the way it sets. And
// catalogue files of the real format, told apart by their one sub-category.

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "catalogue/CatalogueDatabase.h"
#include "jet/JetWriter.h"
#include "support/LocalHttpServer.h"
#include "support/Noise.h"

namespace glyphwell::test {

// A catalogue whose "中文字体" column lists one sub-category; `paddingRows` rows of 9000
// bytes make it as large as a test needs, bytes that do not compress unless `compressible`.
inline std::string CatalogueBytes(const std::string& subcategory, int paddingRows = 0,
                                  bool compressible = false) {
    jet::JetTable dl{"dl", {}, {jet::JetRow(9)}};
    for (int index = 0; index < 9; ++index) {
        dl.columns.push_back({*catalogue::CategoryColumn(index), jet::ColumnType::Text});
    }
    dl.rows[0][0] = subcategory;
    jet::JetTable fonts{subcategory,
                        {{"字体名", jet::ColumnType::Text},
                         {"字体地址", jet::ColumnType::Text},
                         {"图片", jet::ColumnType::LongBinary}},
                        {}};
    for (int row = 0; row < paddingRows; ++row) {
        fonts.rows.push_back({subcategory + std::to_string(row), "f/" + std::to_string(row),
                              compressible ? std::string(9000, static_cast<char>('a' + row % 26))
                                           : Noise(9000, static_cast<std::uint32_t>(row))});
    }
    std::string error;
    std::optional<std::string> bytes = jet::BuildJetDatabase({dl, fonts}, &error);
    EXPECT_TRUE(bytes) << error;
    return bytes.value_or("");
}

enum class Delivery {
    kWithLength,
    kNoLength,  // chunked, no Content-Length
    kCutShort,  // announces the whole length, then closes half-way
    kSlow,      // with its length, 32 KiB every 20 ms
};

class UpdateSite {
  public:
    UpdateSite() {
        server_.Server().Get("/ztym.txt", [this](const httplib::Request&, httplib::Response& res) {
            res.set_content(server_.Base(), "text/plain");
        });
        server_.Server().Get("/ztpz.txt", [this](const httplib::Request&, httplib::Response& res) {
            std::lock_guard lock(mutex_);
            res.set_content(version_, "text/plain");
        });
        server_.Server().Get(
            "/ztysb.data", [this](const httplib::Request&, httplib::Response& res) { Serve(res); });
        server_.Start();
    }

    void Set(std::string version, std::string body, Delivery delivery = Delivery::kWithLength) {
        std::lock_guard lock(mutex_);
        version_ = std::move(version);
        body_ = std::make_shared<const std::string>(std::move(body));
        delivery_ = delivery;
    }
    std::string Base() const { return server_.Base(); }
    void Stop() { server_.Stop(); }

  private:
    void Serve(httplib::Response& res) {
        std::shared_ptr<const std::string> body;
        Delivery delivery;
        {
            std::lock_guard lock(mutex_);
            body = body_;
            delivery = delivery_;
        }
        const char* type = "application/octet-stream";
        if (delivery == Delivery::kWithLength) {
            res.set_content(*body, type);
            return;
        }
        if (delivery == Delivery::kNoLength) {
            res.set_chunked_content_provider(
                type, [body](std::size_t offset, httplib::DataSink& sink) {
                    if (offset >= body->size()) {
                        sink.done();
                        return true;
                    }
                    return sink.write(body->data() + offset,
                                      std::min<std::size_t>(16384, body->size() - offset));
                });
            return;
        }
        res.set_content_provider(
            body->size(), type,
            [body, delivery](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                if (delivery == Delivery::kCutShort && offset >= body->size() / 2) {
                    return false;
                }
                if (delivery == Delivery::kSlow) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(20));
                }
                return sink.write(body->data() + offset,
                                  std::min<std::size_t>(32768, body->size() - offset));
            });
    }

    std::mutex mutex_;
    std::string version_;
    std::shared_ptr<const std::string> body_ = std::make_shared<const std::string>();
    Delivery delivery_ = Delivery::kWithLength;
    LocalHttpServer server_;  // last: stops before the rest goes
};

}  // namespace glyphwell::test
