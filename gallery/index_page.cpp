#include "index_page.h"

#include <cmath>

namespace gallery {

namespace {

std::string escaped(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
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

std::string points(double v) { return std::to_string(static_cast<long>(std::lround(v))); }

}  // namespace

std::string indexHtml(const std::vector<const Page*>& pages) {
    std::string html =
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>Kivo gallery</title>\n"
        "<style>\n"
        "body { font-family: sans-serif; margin: 2em; background: #f4f4f4; color: #222; }\n"
        "nav a { margin-right: 1em; }\n"
        "section { margin: 2em 0; }\n"
        "img { background: #fff; border: 1px solid #ccc; }\n"
        "</style>\n</head>\n<body>\n<h1>Kivo gallery</h1>\n<nav>\n";
    for (const Page* page : pages) html += "<a href=\"#" + escaped(page->name) + "\">" + escaped(page->name) + "</a>\n";
    html += "</nav>\n";
    for (const Page* page : pages) {
        const std::string name = escaped(page->name);
        html += "<section id=\"" + name + "\">\n<h2>" + name + "</h2>\n";
        if (!page->description.empty()) html += "<p>" + escaped(page->description) + "</p>\n";
        html += "<img src=\"" + name + ".png\" width=\"" + points(page->size.width) + "\" height=\"" + points(page->size.height) +
                "\" alt=\"" + name + "\">\n</section>\n";
    }
    html += "</body>\n</html>\n";
    return html;
}

}  // namespace gallery
