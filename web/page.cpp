// petcalc-web-page: writes the page, index.html, from the window data. Form1
// is laid out in the HTML itself, so the browser paints it before any script
// has run; Form2 waits in a template until "成长表" makes it. Controls are
// written in tab order: the Tab key and screen readers walk the document
// order, the positions come from the table.
//
//   petcalc-web-page OUT.html STYLE.css FONT.woff2 [CONTROLS.json]
//
// The style sheet goes inline, and the font inside it as a data: URL: the
// first frame then waits for no other file (the font costs a third more
// as base64, about 1 kB once gzipped).
// CONTROLS.json, for the browser checks, is the table as the page must show
// it: each control's name, kind, caption, accessible name and place in px.

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "output.h"
#include "windowtable.h"

namespace petcalc {
namespace {

// The outer frame of an in-page window (client area, 1 px border, title bar)
// and the page margin; the phone's layout width follows from them.
constexpr int kBorderPx = 1;
constexpr int kMarginPx = 4;

std::string escape(std::string_view s) {
    std::string out;
    for (char c : s) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string base64(const std::string& bytes) {
    static constexpr char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned v = static_cast<unsigned char>(bytes[i]) << 16 | static_cast<unsigned char>(bytes[i + 1]) << 8 |
                           static_cast<unsigned char>(bytes[i + 2]);
        for (int shift : {18, 12, 6, 0}) out += digits[(v >> shift) & 63];
    }
    if (i < bytes.size()) {  // one or two bytes left: pad to four digits
        const bool two = i + 1 < bytes.size();
        const unsigned v = static_cast<unsigned char>(bytes[i]) << 16 |
                           (two ? static_cast<unsigned char>(bytes[i + 1]) << 8 : 0u);
        out += digits[v >> 18];
        out += digits[(v >> 12) & 63];
        out += two ? digits[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

std::string readAll(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    if (!in) throw std::runtime_error(std::string("cannot read ") + path);
    return s.str();
}

// 1 CSS px a pixel at 96 dpi.
int px(int twips) { return pixels(twips); }

std::string place(const ControlRow& c) {
    const PixelRect r = pixelRect(c.left, c.top, c.width, c.height);
    std::ostringstream s;
    s << "left:" << r.x << "px;top:" << r.y << "px;width:" << r.width << "px;height:" << r.height << "px";
    return s.str();
}

std::string control(const ControlRow& c) {
    const std::string id = std::string(c.name);
    const std::string where = " style=\"" + place(c) + "\"";
    const std::string name = " aria-label=\"" + escape(c.accessibleName) + "\"";
    // The number in the control's name, for the page's script.
    const std::string n = " data-n=\"" + std::to_string(controlNumber(c.name)) + "\"";
    switch (c.kind) {
    case Kind::Button:
        return "<button type=\"button\" id=\"" + id + "\"" + (isTall(c) ? " class=\"tall\"" : "") + n + name +
               where + ">" + escape(shownCaption(c)) + "</button>";
    case Kind::Label:
        // Label21 is never seen; its enabled state is the live-recompute flag.
        if (c.name == "Label21") return "<span id=\"" + id + "\" hidden aria-disabled=\"true\"></span>";
        return "<span id=\"" + id + "\" class=\"label\"" + where + ">" + escape(c.caption) + "</span>";
    case Kind::TextBox:
        return "<input type=\"text\" id=\"" + id + "\"" + n + name + where +
               " autocomplete=\"off\" autocapitalize=\"off\" spellcheck=\"false\"" +
               (c.tab == 0 ? " autofocus" : "") + ">";
    case Kind::CheckBox:
        // The whole box clicks, as on the desktop; the mark inside is small.
        return "<label class=\"check\"" + where + "><input type=\"checkbox\" id=\"" + id + "\"" + name + "></label>";
    }
    return {};
}

// An in-page window: its title bar and client area. The close button comes
// after the client in the document, so that Tab reaches it last.
std::string window(const WindowRow& w, const std::string& role, const std::string& body) {
    std::ostringstream s;
    s << "<section class=\"window\" id=\"" << w.name << "\"" << role << " aria-labelledby=\"" << w.name
      << "-title\" style=\"width:" << px(w.width) << "px\">"
      << "<h1 class=\"title\" id=\"" << w.name << "-title\">" << escape(w.caption) << "</h1>"
      << "<div class=\"client\" style=\"width:" << px(w.width) << "px;height:" << px(w.height) << "px\">" << body
      << "</div><button type=\"button\" class=\"close\" aria-label=\"关闭 " << escape(w.caption)
      << "\"></button></section>\n";
    return s.str();
}

std::string page(const std::string& style) {
    std::vector<const ControlRow*> byTab;
    for (const ControlRow& c : mainWindowControls()) byTab.push_back(&c);
    std::stable_sort(byTab.begin(), byTab.end(), [](auto* a, auto* b) { return a->tab < b->tab; });
    std::string form1;
    for (const ControlRow* c : byTab) form1 += control(*c) + "\n";

    // The growth table box keeps its lines; a text area holds line feeds.
    std::string table = growthTableText();
    for (std::size_t at; (at = table.find("\r\n")) != std::string::npos;) table.replace(at, 2, "\n");
    const ControlRow& box = kGrowthTableBox;
    // A new line straight after <textarea> is dropped by the parser: the
    // text's own first line must not be.
    const std::string form2 = "<textarea id=\"" + std::string(box.name) + "\" aria-label=\"" +
                              escape(box.accessibleName) + "\" style=\"" + place(box) + "\" spellcheck=\"false\">\n" +
                              escape(table) + "</textarea>";

    const int layoutWidth = px(kForm1.width) + 2 * kBorderPx + 2 * kMarginPx;
    std::ostringstream s;
    s << "<!doctype html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n"
      // A phone lays the page out this wide and scales it to its screen;
      // pinch zoom stays free.
      << "<meta name=\"viewport\" content=\"width=" << layoutWidth << "\">\n"
      << "<title>宠物属性计算器 · petcalc</title>\n"
      << "<meta name=\"description\" content=\"计算宠物的面板属性、升级加点和成长\">\n"
      << "<link rel=\"manifest\" href=\"manifest.webmanifest\">\n"
      << "<link rel=\"icon\" href=\"icons/petcalc.svg\" type=\"image/svg+xml\">\n"
      << "<style>\n" << style << "</style>\n"
      // The module's .wasm is fetched by app.js once the page is parsed: a
      // preload of it made the first frame wait (measured, bench/web).
      << "<script type=\"module\" src=\"app.js\"></script>\n</head>\n<body>\n"
      << window(kForm1, "", form1)
      << "<template id=\"Form2-template\">" << window(kForm2, " role=\"dialog\"", form2) << "</template>\n"
      << "<section id=\"fault\" class=\"window message\" aria-labelledby=\"fault-title\" hidden>"
      << "<h1 class=\"title\" id=\"fault-title\">" << escape(kFaultTitle) << "</h1>"
      << "<p id=\"fault-text\" role=\"alert\"></p><button type=\"button\" id=\"fault-ok\">确定</button></section>\n"
      << "</body>\n</html>\n";
    return s.str();
}

std::string controlsJson() {
    constexpr const char* kinds[] = {"button", "label", "textbox", "checkbox"};
    std::ostringstream s;
    s << "[\n";
    for (const ControlRow& c : mainWindowControls()) {
        const PixelRect r = pixelRect(c.left, c.top, c.width, c.height);
        s << (&c == mainWindowControls().data() ? "" : ",\n") << "{\"name\":\"" << c.name << "\",\"kind\":\""
          << kinds[static_cast<int>(c.kind)] << "\",\"caption\":\"" << c.caption << "\",\"accessibleName\":\""
          << c.accessibleName << "\",\"tab\":" << c.tab << ",\"left\":" << r.x << ",\"top\":" << r.y
          << ",\"width\":" << r.width << ",\"height\":" << r.height << "}";
    }
    s << "\n]\n";
    return s.str();
}

}  // namespace
}  // namespace petcalc

int main(int argc, char** argv) {
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr, "usage: petcalc-web-page OUT.html STYLE.css FONT.woff2 [CONTROLS.json]\n");
        return 64;
    }
    try {
        std::string style = petcalc::readAll(argv[2]);
        const std::string font = "url(petcalc-cjk.woff2)";
        const std::size_t at = style.find(font);
        if (at == std::string::npos) throw std::runtime_error("the style sheet names no petcalc-cjk.woff2");
        style.replace(at, font.size(), "url(data:font/woff2;base64," + petcalc::base64(petcalc::readAll(argv[3])) + ")");
        const char* tool = "petcalc-web-page";
        if (!petcalc::output::writeFile(tool, argv[1], petcalc::page(style))) return 1;
        if (argc == 5 && !petcalc::output::writeFile(tool, argv[4], petcalc::controlsJson())) return 1;
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "petcalc-web-page: %s\n", e.what());
        return 1;
    }
}
