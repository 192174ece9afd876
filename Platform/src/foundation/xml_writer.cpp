#include "Platform/foundation/xml_writer.h"

// libxml2's valid.h needs the parser's declarations before it.
#include <libxml/parser.h>
#include <libxml/valid.h>
#include <libxml/xmlstring.h>
#include <libxml/xmlwriter.h>

#include <vector>

#include "Platform/foundation/log.h"

namespace plat {
namespace {

const xmlChar* xml(const std::string& s) { return reinterpret_cast<const xmlChar*>(s.c_str()); }

bool isText(std::string_view s) {
    if (s.find('\0') != std::string_view::npos) return false;
    const std::string copy(s);
    return xmlCheckUTF8(xml(copy)) != 0;
}

bool isName(std::string_view s) { return !s.empty() && isText(s) && xmlValidateNameValue(xml(std::string(s))) == 1; }

xmlBufferPtr doublingBuffer() {
    xmlBufferPtr buffer = xmlBufferCreate();
    if (buffer) xmlBufferSetAllocationScheme(buffer, XML_BUFFER_ALLOC_DOUBLEIT);
    return buffer;
}

}  // namespace

struct XmlWriter::Impl {
    // libxml2 grows a memory buffer by what each write needs, copying the whole document every time:
    // doubling keeps a large document linear.
    xmlBufferPtr buffer = doublingBuffer();
    xmlTextWriterPtr writer = buffer ? xmlNewTextWriterMemory(buffer, 0) : nullptr;
    // Per open element: whether it has content, so that an element holding only empty text still ends
    // with its end tag.
    std::vector<bool> open;
    bool finished = false;

    ~Impl() {
        if (writer) xmlFreeTextWriter(writer);
        if (buffer) xmlBufferFree(buffer);
    }

    bool usable(const char* what) const {
        if (writer && !finished) return true;
        log(std::string("XmlWriter: ") + what + " refused: " + (finished ? "the document is finished" : "no writer"));
        return false;
    }

    bool check(int result, const char* what) const {
        if (result >= 0) return true;
        log(std::string("XmlWriter: ") + what + " does not fit here; nothing written");
        return false;
    }

    void markContent() {
        if (!open.empty()) open.back() = true;
    }

    bool content(std::string_view text, const char* what, int (*write)(xmlTextWriterPtr, const xmlChar*)) {
        if (!usable(what)) return false;
        if (!isText(text)) {
            log(std::string("XmlWriter: ") + what + " refused: not UTF-8 or holding a NUL");
            return false;
        }
        const std::string t(text);
        if (!check(write(writer, xml(t)), what)) return false;
        markContent();
        return true;
    }
};

XmlWriter::XmlWriter() : _impl(std::make_unique<Impl>()) {}
XmlWriter::~XmlWriter() = default;

bool XmlWriter::writeDeclaration(std::string_view version, std::string_view encoding) {
    if (!isText(version) || !isText(encoding) || version.find('"') != std::string_view::npos ||
        encoding.find('"') != std::string_view::npos) {
        log("XmlWriter: declaration refused: its version or encoding is not a plain value");
        return false;
    }
    // libxml2's own declaration ends with a line break.
    std::string raw = "<?xml version=\"" + std::string(version) + "\"";
    if (!encoding.empty()) raw += " encoding=\"" + std::string(encoding) + "\"";
    raw += "?>";
    return writeRaw(raw);
}

bool XmlWriter::writeDocumentType(std::string_view name, std::string_view publicId, std::string_view systemId) {
    if (!_impl->usable("document type")) return false;
    const bool quotable = isText(publicId) && isText(systemId) && publicId.find('"') == std::string_view::npos &&
                          systemId.find('"') == std::string_view::npos;
    if (!isName(name) || !quotable || (!publicId.empty() && systemId.empty())) {
        log("XmlWriter: document type refused: a bad name or identifier, or a public identifier without a system one");
        return false;
    }
    const std::string n(name), p(publicId), s(systemId);
    return _impl->check(
        xmlTextWriterWriteDTD(_impl->writer, xml(n), p.empty() ? nullptr : xml(p), s.empty() ? nullptr : xml(s), nullptr),
        "document type");
}

bool XmlWriter::startElement(std::string_view name) {
    if (!_impl->usable("element")) return false;
    if (!isName(name)) {
        log("XmlWriter: element refused: \"" + std::string(name) + "\" is not an XML name");
        return false;
    }
    const std::string n(name);
    if (!_impl->check(xmlTextWriterStartElement(_impl->writer, xml(n)), "element")) return false;
    _impl->markContent();
    _impl->open.push_back(false);
    return true;
}

bool XmlWriter::writeAttribute(std::string_view name, std::string_view value) {
    if (!_impl->usable("attribute")) return false;
    if (!isName(name) || !isText(value)) {
        log("XmlWriter: attribute refused: a bad name or a value that is not UTF-8 text");
        return false;
    }
    const std::string n(name), v(value);
    return _impl->check(xmlTextWriterWriteAttribute(_impl->writer, xml(n), xml(v)), "attribute");
}

bool XmlWriter::writeText(std::string_view text) { return _impl->content(text, "text", xmlTextWriterWriteString); }

bool XmlWriter::writeRaw(std::string_view text) { return _impl->content(text, "raw text", xmlTextWriterWriteRaw); }

bool XmlWriter::endElement() {
    if (!_impl->usable("end of element")) return false;
    if (_impl->open.empty()) {
        log("XmlWriter: end of element refused: no element is open");
        return false;
    }
    const bool content = _impl->open.back();
    const int r = content ? xmlTextWriterFullEndElement(_impl->writer) : xmlTextWriterEndElement(_impl->writer);
    if (!_impl->check(r, "end of element")) return false;
    _impl->open.pop_back();
    return true;
}

std::string XmlWriter::finish() {
    if (!_impl->writer) return {};
    if (!_impl->finished) {
        // Not xmlTextWriterEndDocument: it ends the document with a line break.
        while (!_impl->open.empty() && endElement()) {
        }
        xmlTextWriterFlush(_impl->writer);
        _impl->finished = true;
    }
    return std::string(reinterpret_cast<const char*>(xmlBufferContent(_impl->buffer)), xmlBufferLength(_impl->buffer));
}

}  // namespace plat
