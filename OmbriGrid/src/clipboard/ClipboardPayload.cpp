#include "clipboard/ClipboardPayload.h"

#include "Platform/foundation/base64.h"
#include "Platform/foundation/xml_writer.h"

namespace kivo::detail {

namespace {

constexpr std::size_t Base64LineLength = 64;
constexpr std::string_view DataPlaceholder = "REPLACE_WITH_ENCODED_DATA";

void element(plat::XmlWriter& writer, std::string_view name, std::string_view text) {
    writer.startElement(name);
    writer.writeText(text);
    writer.endElement();
}

}  // namespace

std::string tabSeparatedText(const std::vector<std::vector<std::string>>& rows) {
    std::size_t size = 0;
    for (const auto& row : rows)
        for (const auto& cell : row) size += cell.size() + 2;
    std::string text;
    text.reserve(size);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (r) text += "\r\n";
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            if (c) text += '\t';
            text += rows[r][c];
        }
    }
    return text;
}

std::string htmlTable(const std::vector<std::vector<std::string>>& rows) {
    plat::XmlWriter writer;
    writer.startElement("table");
    for (const auto& row : rows) {
        writer.startElement("tr");
        for (const auto& cell : row) element(writer, "td", cell);
        writer.endElement();
    }
    // A table with no rows still closes as a pair of tags, as a browser expects.
    if (rows.empty()) writer.writeText("");
    return writer.finish();
}

std::string webArchive(std::string_view html) {
    plat::XmlWriter writer;
    writer.writeDeclaration("1.0", "UTF-8");
    writer.writeDocumentType("plist", "-//Apple//DTD PLIST 1.0//EN", "http://www.apple.com/DTDs/PropertyList-1.0.dtd");
    writer.startElement("plist");
    writer.writeAttribute("version", "1.0");
    writer.startElement("dict");
    element(writer, "key", "WebMainResource");
    writer.startElement("dict");
    element(writer, "key", "WebResourceData");
    writer.startElement("data");
    // The data goes in after the writer is done: a page of a large copy is megabytes of Base64, which
    // needs no escaping and would only be copied through the writer's buffers.
    writer.writeRaw(DataPlaceholder);
    writer.endElement();
    element(writer, "key", "WebResourceFrameName");
    element(writer, "string", "");
    element(writer, "key", "WebResourceMIMEType");
    element(writer, "string", "text/html");
    element(writer, "key", "WebResourceTextEncodingName");
    element(writer, "string", "UTF-8");
    element(writer, "key", "WebResourceURL");
    element(writer, "string", "about:blank");
    const std::string frame = writer.finish();
    const std::size_t at = frame.find(DataPlaceholder);
    const std::string data = plat::base64Encode(html, {Base64LineLength, "\r\n"});
    std::string archive;
    archive.reserve(frame.size() + data.size());
    archive.append(frame, 0, at).append(data).append(frame, at + DataPlaceholder.size());
    return archive;
}

std::vector<std::vector<std::string>> splitPastedText(std::string_view text) {
    std::vector<std::vector<std::string>> rows;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        const std::size_t lineEnd = end == std::string_view::npos ? text.size() : end;
        std::vector<std::string> cells;
        std::size_t cellStart = start;
        for (;;) {
            const std::size_t tab = text.find('\t', cellStart);
            if (tab == std::string_view::npos || tab >= lineEnd) {
                cells.emplace_back(text.substr(cellStart, lineEnd - cellStart));
                break;
            }
            cells.emplace_back(text.substr(cellStart, tab - cellStart));
            cellStart = tab + 1;
        }
        rows.push_back(std::move(cells));
        if (end == std::string_view::npos) break;
        start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
    }
    return rows;
}

}  // namespace kivo::detail
