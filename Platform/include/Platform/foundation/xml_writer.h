#pragma once
// Writes an XML document into memory, element by element, with no whitespace of its own between
// elements: a declaration, a document type, elements with attributes, escaped and raw text.
// Each call returns false, writes nothing and logs a line when the call does not fit where the
// document stands (an attribute after text, an end with no element open) or when a name is not an
// XML name or a text is not UTF-8 or holds a NUL.

#include <memory>
#include <string>
#include <string_view>

#include "Platform/PlatformExport.h"

namespace plat {

class PLAT_EXPORT XmlWriter {
public:
    XmlWriter();
    ~XmlWriter();
    XmlWriter(const XmlWriter&) = delete;
    XmlWriter& operator=(const XmlWriter&) = delete;

    // `<?xml version="1.0" encoding="UTF-8"?>`, with no line break after it.
    bool writeDeclaration(std::string_view version = "1.0", std::string_view encoding = "UTF-8");
    // `<!DOCTYPE name PUBLIC "publicId" "systemId">`; without a public identifier, `SYSTEM "systemId"`.
    bool writeDocumentType(std::string_view name, std::string_view publicId, std::string_view systemId);
    bool startElement(std::string_view name);
    // Only right after startElement or another attribute.
    bool writeAttribute(std::string_view name, std::string_view value);
    // Escaped: `&`, `<`, `>` and `"` as entities, CR as `&#13;`. Empty text still counts as
    // content: the element then ends as `<a></a>`, never `<a/>`.
    bool writeText(std::string_view text);
    // Exactly as given.
    bool writeRaw(std::string_view text);
    // An element with no content ends as `<a/>`.
    bool endElement();

    // Ends every open element and returns the whole document; the writer takes nothing more.
    std::string finish();

private:
    struct Impl;
    std::unique_ptr<Impl> _impl;
};

}  // namespace plat
