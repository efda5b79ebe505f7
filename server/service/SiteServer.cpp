#include "SiteServer.h"

#include <memory>

#include "FileBytes.h"
#include "Imaging.h"

namespace glyphwell::server {
namespace fs = std::filesystem;

namespace {

std::string HtmlEscape(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '&':
                out += "&amp;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string Page(std::string_view title, std::string_view body) {
    return "<!DOCTYPE html>\n<html lang=\"zh-CN\"><head><meta charset=\"utf-8\"><title>" +
           HtmlEscape(title) +
           "</title><link rel=\"stylesheet\" href=\"/site.css\"></head><body>\n" +
           std::string(body) + "\n</body></html>\n";
}

void ErrorPage(httplib::Response& res, int status, std::string_view message) {
    res.status = status;
    res.set_content(Page("出错了", "<h1>出错了</h1><p>" + HtmlEscape(message) + "</p>"),
                    "text/html; charset=utf-8");
}

// A decimal number made of digits only.
std::optional<int> ParseNumber(const std::string& text) {
    if (text.empty() || text.size() > 6 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    return std::stoi(text);
}

constexpr std::size_t kPreviewMaxCharacters = 200;
constexpr int kPreviewMaxWidth = 4096;

GateLimits LimitsFor(const ServeOptions& options) {
    GateLimits limits;
    limits.workerThreads = options.workerThreads;
    limits.headerDeadline = options.headerDeadline;
    limits.maxBodyBytes = kMaxRequestBody;
    return limits;
}

}  // namespace

fs::path ResolveInsideRoot(const fs::path& root, const std::string& path) {
    fs::path relative = fs::path(path).relative_path().lexically_normal();
    if (relative.empty() || path.find('\0') != std::string::npos) {
        return {};
    }
    for (const fs::path& part : relative) {
        if (part == "..") {
            return {};
        }
    }
    std::error_code ec;
    fs::path canonicalRoot = fs::weakly_canonical(root, ec);
    fs::path resolved = fs::weakly_canonical(root / relative, ec);
    if (ec) {
        return {};
    }
    // A symbolic link inside the root must not lead out of it either.
    auto [rootEnd, unused] =
        std::mismatch(canonicalRoot.begin(), canonicalRoot.end(), resolved.begin(), resolved.end());
    if (rootEnd != canonicalRoot.end()) {
        return {};
    }
    return resolved;
}

SiteServer::SiteServer(ServeOptions options)
    : options_(std::move(options)), server_(LimitsFor(options_)) {
    Route();
}

bool SiteServer::Bind() {
    bool bound;
    if (options_.port == 0) {
        port_ = server_.bind_to_any_port(options_.bind);
        bound = port_ > 0;
    } else {
        port_ = options_.port;
        bound = server_.bind_to_port(options_.bind, options_.port);
    }
    if (bound) {
        server_.DeepenListenQueue();
    }
    return bound;
}

std::string SiteServer::BaseAddress() const {
    return "http://" + options_.bind + ":" + std::to_string(port_);
}

void SiteServer::Run() {
    server_.listen_after_bind();
    server_.Shutdown();
}

void SiteServer::ServeFile(const std::string& path, const char* contentType, httplib::Response& res,
                           bool lengthKnown) const {
    std::optional<std::string> bytes = ReadFileBytes(ResolveInsideRoot(options_.root, path));
    if (!bytes) {
        ErrorPage(res, 404, "没有这个文件: " + path);
        return;
    }
    if (lengthKnown) {
        res.set_content(std::move(*bytes), contentType);
        return;
    }
    auto body = std::make_shared<std::string>(std::move(*bytes));
    res.set_chunked_content_provider(
        contentType, [body](std::size_t offset, httplib::DataSink& sink) {
            if (offset >= body->size()) {
                sink.done();
                return true;
            }
            std::size_t piece = std::min<std::size_t>(16384, body->size() - offset);
            return sink.write(body->data() + offset, piece);
        });
}

void SiteServer::Route() {
    // Decided on the header alone, before any body is read.
    server_.set_pre_routing_handler([](const httplib::Request& req, httplib::Response& res) {
        const bool upload = req.path == "/recognize";
        if (upload ? req.method != "POST" : req.method != "GET" && req.method != "HEAD") {
            ErrorPage(res, 405, "不支持这种请求方式: " + req.method);
            res.set_header("Allow", upload ? "POST" : "GET, HEAD");
            return httplib::Server::HandlerResponse::Handled;
        }
        // httplib would inflate it without limit.
        const std::string encoding = req.get_header_value("Content-Encoding");
        if (!encoding.empty() && encoding != "identity") {
            ErrorPage(res, 415, "不接受压缩的请求内容");
            return httplib::Server::HandlerResponse::Handled;
        }
        return httplib::Server::HandlerResponse::Unhandled;
    });
    // The catalogue server is this same process.
    server_.Get("/ztym.txt", [this](const httplib::Request&, httplib::Response& res) {
        res.set_content(BaseAddress(), "application/octet-stream");
    });
    server_.Get("/ztpz.txt", [this](const httplib::Request& req, httplib::Response& res) {
        ServeFile(req.path, "application/octet-stream", res, true);
    });
    server_.Get("/ztysb.data", [this](const httplib::Request& req, httplib::Response& res) {
        ServeFile(req.path, "application/octet-stream", res, true);
    });
    server_.Get(R"(/ztwjj/.+\.tmp)", [this](const httplib::Request& req, httplib::Response& res) {
        ServeFile(req.path, "application/octet-stream", res, options_.sendContentLength);
    });
    server_.Get("/text.php", [this](const httplib::Request& req, httplib::Response& res) {
        const std::string font = req.get_param_value("font");
        std::optional<int> size = ParseNumber(req.get_param_value("size"));
        std::optional<int> rot = ParseNumber(req.get_param_value("rot"));
        if (!size || *size < 6 || *size > 30) {
            ErrorPage(res, 400, "字号应为 6 到 30");
            return;
        }
        fs::path fontFile =
            font.starts_with("fonts/") ? ResolveInsideRoot(options_.root, font) : fs::path();
        TextStyle style;
        style.pixelSize = *size * 2;  // the preview strip shows it at twice the point size
        // The strip shows a line of a sample text; longer ones are cut, not refused.
        style.maxCharacters = kPreviewMaxCharacters;
        style.maxWidth = kPreviewMaxWidth;
        style.slantDegrees = rot.value_or(0) == 30 ? 30 : rot.value_or(0) == 15 ? 15 : 0;
        std::optional<GreyImage> image;
        if (!fontFile.empty()) {
            image = RenderText(fontFile, req.get_param_value("msg"), style);
        }
        if (!image) {
            ErrorPage(res, 404, "没有这个字体: " + font);
            return;
        }
        res.set_content(EncodePng(*image), "image/png");
    });
    server_.Get("/search/web", [](const httplib::Request& req, httplib::Response& res) {
        res.set_content(
            Page("网页搜索", "<h1>网页搜索</h1><p>搜索: <b id=\"query\">" +
                                 HtmlEscape(req.get_param_value("q")) +
                                 "</b></p><p>本地服务没有连接外网, 这里只显示收到的查询。</p>"),
            "text/html; charset=utf-8");
    });
    server_.Get("/search/images", [this](const httplib::Request& req, httplib::Response& res) {
        std::string body =
            "<h1>图片: " + HtmlEscape(req.get_param_value("q")) + "</h1><div class=\"grid\">";
        std::error_code ec;
        for (fs::directory_iterator it(options_.root / "pictures", ec), end; !ec && it != end;
             it.increment(ec)) {
            body += "<img src=\"/pictures/" + HtmlEscape(it->path().filename().string()) + "\">";
        }
        res.set_content(Page("作品欣赏", body + "</div>"), "text/html; charset=utf-8");
    });
    server_.Post("/recognize", [](const httplib::Request& req, httplib::Response& res) {
        std::string body = "<h1>字体识别</h1>";
        if (req.has_file("picture")) {
            const auto& file = req.get_file_value("picture");
            body += "<p>收到图样 " + HtmlEscape(file.filename) + " (" +
                    std::to_string(file.content.size()) +
                    " 字节)。本地服务不做识别, 请到字体下载页按名称查找。</p>";
        } else {
            body += "<p>没有收到图样文件。</p>";
        }
        res.set_content(Page("字体识别", body + "<p><a href=\"/recognize.html\">再传一张</a></p>"),
                        "text/html; charset=utf-8");
    });
    server_.Get("/share/", [this](const httplib::Request&, httplib::Response& res) {
        std::string body = "<h1>网友分享</h1><ul>";
        std::error_code ec;
        std::vector<std::string> names;
        for (fs::directory_iterator it(options_.root / "fonts", ec), end; !ec && it != end;
             it.increment(ec)) {
            names.push_back(it->path().filename().string());
        }
        std::sort(names.begin(), names.end());
        for (const std::string& name : names) {
            body +=
                "<li><a href=\"/fonts/" + HtmlEscape(name) + "\">" + HtmlEscape(name) + "</a></li>";
        }
        res.set_content(Page("网友分享", body + "</ul>"), "text/html; charset=utf-8");
    });
    // Everything else: the site's own files; the home address is its index page.
    server_.Get(R"(/.*)", [this](const httplib::Request& req, httplib::Response& res) {
        std::string path = req.path == "/" ? "/index.html" : req.path;
        const char* type = path.ends_with(".html")  ? "text/html; charset=utf-8"
                           : path.ends_with(".css") ? "text/css"
                           : path.ends_with(".png") ? "image/png"
                           : path.ends_with(".jpg") ? "image/jpeg"
                                                    : "application/octet-stream";
        ServeFile(path, type, res, true);
    });
}

}  // namespace glyphwell::server
