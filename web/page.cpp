// petcalc-web-page: writes the page, index.html, from the window data. Form1
// is laid out in the HTML itself, so the browser paints it before any script
// has run; Form2 waits in a template until "成长表" makes it.
// The document lists the controls as a phone shows them, top to bottom in
// rows (kPhoneRows); the desktop view dissolves the rows and places each
// control where the table puts it, and app.js gives it the table's tab
// order. So reading order follows the screen in both views.
//
//   petcalc-web-page OUT.html STYLE.css FONT.woff2 [CONTROLS.json]
//
// Beside OUT.html it writes names.js (names.cpp): the script's names of the
// core's enums and of the cells the page is written with.
//
// The style sheet goes inline, and the font inside it as a data: URL: the
// first frame then waits for no other file (the font costs a third more
// as base64, about 1 kB once gzipped). Each control's place is a rule of
// that sheet, not a style attribute, and the page's Content-Security-Policy
// allows that one sheet by its SHA-256 and scripts only from the page's
// own files: no inline script, style attribute, eval or plugin anywhere.
// CONTROLS.json, for the browser checks, is the table as the page must show
// it: each control's name, kind, caption, accessible name and place in px.

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

#include <emscripten.h>

#include "names.h"
#include "notices.h"
#include "output.h"
#include "phoneentry.h"
#include "planner.h"
#include "views.h"
#include "windowtable.h"

// The writer runs under node: its SHA-256, base64 (44 characters at out).
EM_JS(void, sha256Base64, (const char* data, int length, char* out), {
  const digest = require('crypto').createHash('sha256').update(HEAPU8.subarray(data, data + length)).digest('base64');
  for (let i = 0; i < 44; i++) HEAPU8[out + i] = digest.charCodeAt(i);
});

namespace petcalc {
namespace {

// The phone's rows, top to bottom, each one line of controls for a thumb;
// a group styles its rows alike. Every control of the table stands in
// exactly one row (checked when the page is written).
constexpr std::pair<std::string_view, std::string_view> kPhoneRows[] = {
    {"level", "Label18 Text18 Command27 Command26 Command2 Label21"},
    {"growth", "Label19 Text19 Command4 Command25"},
    {"fields", "Label6 Text1"}, {"fields", "Label7 Text2"}, {"fields", "Label8 Text3"},
    {"fields", "Label9 Text4"}, {"fields", "Label10 Text5"},
    // a stepper: the box between its minus and its plus buttons
    {"points", "Label1 Command6 Command5 Text11 Command7 Command8"},
    {"points", "Label2 Command10 Command9 Text12 Command11 Command12"},
    {"points", "Label3 Command14 Command13 Text13 Command15 Command16"},
    {"points", "Label4 Command18 Command17 Text14 Command19 Command20"},
    {"points", "Label5 Command23 Command21 Text15 Command22 Command24"},
    {"fields", "Label17 Text17"},
    {"skills", "Label22 Check1"}, {"skills", "Label23 Check2"}, {"skills", "Label24 Check3"},
    {"skills", "Label26 Check4"}, {"skills", "Label27 Check5"}, {"skills", "Label25 Check6"},
    {"skills", "Label28 Check7"}, {"skills", "Label29 Check8"},
    {"panel", "Label11 Text6"}, {"panel", "Label12 Text7 Label20"}, {"panel", "Label13 Text8 Text20"},
    {"panel", "Label14 Text9 Text21"}, {"panel", "Label15 Text10 Text22"}, {"panel", "Label16 Text16 Text23"},
    {"actions", "Command1 Command3"},
};

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

// The rules that place the controls, as the page is written.
std::string places;

void place(const ControlRow& c, const std::string& selector) {
    const PixelRect r = pixelRect(c.left, c.top, c.width, c.height);
    std::ostringstream s;
    s << selector << "{--x:" << r.x << "px;--y:" << r.y << "px;--w:" << r.width << "px;--h:" << r.height << "px}\n";
    places += s.str();
}

std::string control(const ControlRow& c) {
    const std::string id = std::string(c.name);
    // A check box clicks as its whole label, which takes the place.
    place(c, c.kind == Kind::CheckBox ? "[for=" + id + "]" : "#" + id);
    // The desktop's tab order; app.js applies it where the desktop view shows.
    const std::string name = " aria-label=\"" + escape(c.accessibleName) + "\" data-tab=\"" +
                             std::to_string(c.tab + 1) + "\"";
    // The number in the control's name, for the page's script.
    const std::string n = " data-n=\"" + std::to_string(controlNumber(c.name)) + "\"";
    switch (c.kind) {
    case Kind::Button: {
        // A tall button's caption a line at a time: the desktop stacks the
        // lines, a phone's wide button sets them side by side.
        std::string caption = escape(shownCaption(c));
        if (isTall(c)) {
            std::string lines;
            for (std::size_t at = 0, end = 0; end != std::string::npos; at = end + 1)
                lines += "<span>" + caption.substr(at, (end = caption.find('\n', at)) - at) + "</span>";
            caption = lines;
        }
        // A held button repeats (class hold): a finger on it must not scroll.
        const std::string classes = std::string(isTall(c) ? " tall" : "") + (findRepeat(c.name) ? " hold" : "");
        return "<button type=\"button\" id=\"" + id + "\"" +
               (classes.empty() ? "" : " class=\"" + classes.substr(1) + "\"") + n + name + ">" + caption +
               "</button>";
    }
    case Kind::Label:
        // Label21 is never seen; its enabled state is the live-recompute flag.
        if (c.name == "Label21") return "<span id=\"" + id + "\" hidden aria-disabled=\"true\"></span>";
        return "<span id=\"" + id + "\" class=\"label\">" + escape(c.caption) + "</span>";
    case Kind::TextBox: {
        // A box a player types a number into asks for the number keypad;
        // its Enter goes where the core's table says (app.js, on a phone,
        // where the key gets its label). A hardware keyboard types anything.
        std::string keys;
        if (const EnterRow* e = findEnter(boxAt(controlNumber(c.name))))
            keys = " inputmode=\"decimal\" data-enterkeyhint=\"" + std::string(e->hint) + "\" data-enter=\"" +
                   (e->next ? "Text" + std::to_string(boxNumber(*e->next)) : std::string(e->button)) + "\"" +
                   (e->minus ? " data-minus" : "");
        return "<input type=\"text\" id=\"" + id + "\"" + n + name + keys +
               " autocomplete=\"off\" autocapitalize=\"off\" autocorrect=\"off\" spellcheck=\"false\">";
    }
    case Kind::CheckBox:
        // The whole box clicks, as on the desktop; the mark inside is small.
        // No box of the page is restored by the browser: a reload shows
        // what the core restores.
        return "<label class=\"check\" for=\"" + id + "\"><input type=\"checkbox\" id=\"" + id + "\"" + name +
               " autocomplete=\"off\"></label>";
    }
    return {};
}

// An in-page window: its title bar and client area. The close button comes
// after the client in the document, so that Tab reaches it last.
std::string window(const WindowRow& w, const std::string& role, const std::string& body) {
    std::ostringstream s;
    s << "#" << w.name << "{--w:" << pixels(w.width) << "px;--h:" << pixels(w.height) << "px}\n";
    places += s.str();
    s.str("");
    s << "<section class=\"window\" id=\"" << w.name << "\"" << role << " aria-labelledby=\"" << w.name << "-title\">"
      << "<h1 class=\"title\" id=\"" << w.name << "-title\">" << escape(w.caption) << "</h1>"
      << "<div class=\"client\">" << body
      << "</div><button type=\"button\" class=\"close\" aria-label=\"关闭 " << escape(w.caption)
      << "\"></button></section>\n";
    return s.str();
}

// The page's own bar, outside Form1's frame: undo, redo, share.
std::string bar() {
    const auto button = [](const char* id, std::string_view caption, bool off) {
        return "<button type=\"button\" id=\"" + std::string(id) + "\"" + (off ? " disabled" : "") + ">" +
               std::string(caption) + "</button>";
    };
    return "<div id=\"bar\">" + button("undo", kUndoCaption, true) + button("redo", kRedoCaption, true) +
           button("share", kShareCaption, false) + button("planner-open", kPlanCaption, false) +
           button("pets-open", kPetsCaption, false) + "</div>\n";
}

// Beside the window (under it on a phone's screen top): the potential and
// the panel with their changes, and the planner "加点方案", a sheet opened
// from the bar on a phone. app.js writes the cells' texts as the module
// tells them, each by the id views.h gives it.
std::string side() {
    const auto cell = [](const std::string& id) { return "<td id=\"" + id + "\"></td>"; };
    const auto head = [](std::string_view a, std::string_view b) {
        return "<tr><td></td><th scope=\"col\">" + std::string(a) + "</th><th scope=\"col\">" + std::string(b) + "</th></tr>";
    };
    const auto rowHead = [](Box b) { return "<tr><th scope=\"row\">" + escape(boxCaption(b)) + "</th>"; };
    std::string summary, counts, panel;
    for (const PanelBox& p : kPanelBoxes) {
        summary += "<div><span>" + escape(boxCaption(p.box)) + "</span><output id=\"" + summaryValueId(p.box) +
                   "\"></output><output id=\"" + summaryChangeId(p.box) + "\"></output></div>";
        panel += rowHead(p.box) + cell(planAfterId(p.box)) + cell(planChangeId(p.box)) + "</tr>";
    }
    for (int i = 0; i < 5; ++i) {
        const Box b = attrInfo(static_cast<Attr>(i)).box;
        counts += rowHead(b) + cell(planAddedId(b)) + cell(planTotalId(b)) + "</tr>";
    }
    // Each radio's value and each minimum's id by the enum's name (names.js).
    std::string modes, goals;
    for (int m = 0; m < 2; ++m)
        modes += "<label><input type=\"radio\" autocomplete=\"off\" name=\"mode\" value=\"" + std::string(kPlanModeNames[m]) +
                 "\"" + (m ? "" : " checked") + ">" + std::string(kPlanModes[m]) + "</label>";
    for (int t = 0; t < kStats; ++t) {
        const std::string k(kStatNames[t]), name(statCaption(static_cast<Stat>(t)));
        goals += "<label><input type=\"radio\" autocomplete=\"off\" name=\"target\" value=\"" + k + "\"" +
                 (static_cast<Stat>(t) == PlanRequest{}.target ? " checked" : "") + ">" + name + "</label>" +
                 "<input type=\"text\" id=\"min-" + k + "\" inputmode=\"decimal\" enterkeyhint=\"done\" aria-label=\"" + name + " " +
                 std::string(kMinimumCaption) + "\" autocomplete=\"off\" spellcheck=\"false\">";
    }
    return "<aside id=\"side\" aria-label=\"" + escape(boxCaption(Box::Text17)) + " · " + std::string(kPlanCaption) + "\">" +
           "<div id=\"summary\">" + summary + "</div>\n" +
           "<section id=\"planner\" aria-labelledby=\"planner-title\"><h2 id=\"planner-title\">" + std::string(kPlanCaption) +
           "</h2><div class=\"modes\">" + modes + "</div><div class=\"goals\"><span>" + std::string(kTargetCaption) +
           "</span><span>" + std::string(kMinimumCaption) + "</span>" + goals + "</div>" +
           "<div id=\"plan-tables\"><table>" + head(kPlanColumns[0], kPlanColumns[1]) + counts + "</table><table>" +
           head(kPlanColumns[2], kPlanColumns[3]) + panel + "</table></div><p id=\"" + std::string(kPlanReasonId) +
           "\" role=\"status\"></p>" +
           "<div class=\"sheet-actions\"><button type=\"button\" id=\"apply\" disabled>" + std::string(kApplyCaption) +
           "</button><button type=\"button\" id=\"planner-close\">" + std::string(kCloseCaption) + "</button></div></section></aside>\n";
}

// "我的宠物", outside Form1's frame (on a phone a sheet the bar opens): the
// table of the pets, a row each filled in by app.js, under headings that
// sort it; a box for a new name; the list's buttons; the file input of an
// import and the link an export downloads by.
std::string petsPanel() {
    const std::string title(kPetsTitle);
    std::string heads;
    for (int c = 0; c < kPetColumns; ++c)
        heads += "<th scope=\"col\"><button type=\"button\" data-column=\"" + std::string(kPetColumnNames[c]) + "\">" +
                 escape(petColumnCaption(static_cast<PetColumn>(c))) + "</button></th>";
    std::string s = "<section id=\"pets\" class=\"window\" aria-labelledby=\"pets-title\"><h1 class=\"title\" "
                    "id=\"pets-title\">" + title + "</h1><div class=\"pets\"><div class=\"pet-table\"><table "
                    "aria-labelledby=\"pets-title\" data-ascending=\"" + std::string(kSortMarks[0]) + "\" data-descending=\"" +
                    std::string(kSortMarks[1]) + "\"><thead><tr>" + heads + "</tr></thead><tbody id=\"pet-list\" data-mark=\"" +
                    std::string(kComparedMark) + "\"></tbody></table></div><input type=\"text\" id=\"pet-name\" aria-label=\"" +
                    std::string(kNameCaption) + "\" autocomplete=\"off\" spellcheck=\"false\">" +
                    // A shared link, or its bare code, opens as the link does.
                    "<input type=\"text\" id=\"pet-paste\" inputmode=\"url\" enterkeyhint=\"go\" aria-label=\"" +
                    std::string(kPasteCaption) + "\" placeholder=\"" + std::string(kPasteCaption) +
                    "\" autocomplete=\"off\" autocapitalize=\"off\" spellcheck=\"false\"><div class=\"pet-buttons\">";
    for (const auto& [id, caption] : kPetButtons)
        s += "<button type=\"button\" id=\"pet-" + std::string(id) + "\">" + std::string(caption) + "</button>";
    return s + "</div><input type=\"file\" id=\"pet-file\" accept=\".json,application/json\" hidden><a id=\"pet-download\" "
               "data-name=\"" + std::string(kExportFileName) + "\" hidden></a></div><button type=\"button\" class=\"close\" "
               "aria-label=\"关闭 " + title + "\"></button></section>\n";
}

std::string sha256(const std::string& text) {
    std::string out(44, '=');
    sha256Base64(text.data(), static_cast<int>(text.size()), out.data());
    return out;
}

std::string page(std::string style) {
    std::string form1, group;
    std::set<std::string_view> written;
    for (const auto& [kind, names] : kPhoneRows) {
        // On a phone the rows scroll, and "确定" and "重置" stay below them.
        if (kind != group) form1 += std::string(group.empty() ? "<div class=\"rows\">\n" : "</div>\n") +
                                    (kind == "actions" ? "</div>\n" : "") + "<div class=\"group " + std::string(kind) + "\">\n";
        group = kind;
        form1 += "<div class=\"row\">";
        for (std::size_t at = 0; at < names.size();) {
            const std::size_t end = std::min(names.find(' ', at), names.size());
            const ControlRow* c = findControl(names.substr(at, end - at));
            if (!c || !written.insert(c->name).second) throw std::runtime_error("a phone row names a control twice or none");
            form1 += control(*c);
            at = end + 1;
        }
        form1 += "</div>\n";
    }
    form1 += "</div>\n";
    if (written.size() != mainWindowControls().size()) throw std::runtime_error("the phone rows do not hold every control once");

    // The growth table box keeps its lines; a text area holds line feeds.
    std::string table = growthTableText();
    for (std::size_t at; (at = table.find("\r\n")) != std::string::npos;) table.replace(at, 2, "\n");
    const ControlRow& box = kGrowthTableBox;
    // A new line straight after <textarea> is dropped by the parser: the
    // text's own first line must not be.
    place(box, "#" + std::string(box.name));
    const std::string form2 = "<textarea id=\"" + std::string(box.name) + "\" aria-label=\"" +
                              escape(box.accessibleName) + "\" spellcheck=\"false\">\n" + escape(table) +
                              "</textarea>";
    const std::string main = window(kForm1, "", form1) + bar() + petsPanel();
    const std::string dialog = window(kForm2, " role=\"dialog\"", form2);
    style = "\n" + style + places;

    std::ostringstream s;
    s << "<!doctype html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n"
      // docs/web.md: the header a host should send, the same and more.
      << "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'self'; script-src 'self' "
         "'wasm-unsafe-eval'; style-src 'sha256-" << sha256(style) << "'; font-src data:; object-src 'none'; "
         "base-uri 'none'; form-action 'none'\">\n"
      // A phone narrower than the window gets its own layout (style.css);
      // pinch zoom stays free.
      << "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
      << "<meta name=\"color-scheme\" content=\"light dark\">\n"
      << "<title>宠物属性计算器 · petcalc</title>\n"
      << "<meta name=\"description\" content=\"计算宠物的面板属性、升级加点和成长\">\n"
      << "<link rel=\"manifest\" href=\"manifest.webmanifest\">\n"
      << "<link rel=\"icon\" href=\"icons/petcalc.svg\" type=\"image/svg+xml\">\n"
      << "<style>" << style << "</style>\n"
      // The module's .wasm is fetched by app.js once the page is parsed: a
      // preload of it made the first frame wait (measured, bench/web).
      << "<script type=\"module\" src=\"app.js\"></script>\n</head>\n<body>\n"
      << "<main>" << main << "</main>\n" << side()
      << "<template id=\"Form2-template\">" << dialog << "</template>\n"
      << "<section id=\"fault\" class=\"window message\" aria-labelledby=\"fault-title\" hidden>"
      << "<h1 class=\"title\" id=\"fault-title\">" << escape(kFaultTitle) << "</h1>"
      << "<p id=\"fault-text\" role=\"alert\"></p><button type=\"button\" id=\"fault-ok\">确定</button></section>\n"
      // Notices: a link refused, storage that keeps nothing, a link to share
      // (in the read-only box); the core's words.
      << "<section id=\"notice\" class=\"window message\" hidden><p id=\"notice-text\" role=\"status\"></p>"
      << "<input id=\"notice-link\" readonly aria-label=\"链接\" hidden>"
      << "<canvas id=\"notice-qr\" aria-label=\"链接的二维码\" hidden></canvas>"
      << "<button type=\"button\" id=\"notice-ok\">确定</button></section>\n"
      // The minus sign, which some phones' number keypads lack: over the
      // keypad while a box that takes one has the focus (app.js).
      << "<button type=\"button\" id=\"minus\" aria-label=\"" << kMinusName << "\" hidden>" << kMinusCaption << "</button>\n"
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
        // The script's names of the core's enums and cells, beside the page.
        std::string names = argv[1];
        names.replace(names.find_last_of('/') + 1, std::string::npos, "names.js");
        if (!petcalc::output::writeFile(tool, names, petcalc::namesModule())) return 1;
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "petcalc-web-page: %s\n", e.what());
        return 1;
    }
}
