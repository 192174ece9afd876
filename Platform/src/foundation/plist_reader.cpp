#include "plist_reader.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <memory>

namespace plat::detail {
namespace {

struct DocFree {
    void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
struct CtxtFree {
    void operator()(xmlParserCtxt* ctxt) const { xmlFreeParserCtxt(ctxt); }
};

// Some failures (a document declaring one encoding and holding bytes of another) skip the context's
// quiet options and reach libxml2's generic handler, which writes to stderr; the context records them
// all the same. The handler is per thread, so silencing it for one parse touches no other thread.
class QuietGenericErrors {
public:
    QuietGenericErrors() : _handler(xmlGenericError), _context(xmlGenericErrorContext) {
        xmlSetGenericErrorFunc(nullptr, ignore);
    }
    ~QuietGenericErrors() { xmlSetGenericErrorFunc(_context, _handler); }
    QuietGenericErrors(const QuietGenericErrors&) = delete;
    QuietGenericErrors& operator=(const QuietGenericErrors&) = delete;

private:
    static void ignore(void*, const char*, ...) {}
    xmlGenericErrorFunc _handler;
    void* _context;
};

std::string name(const xmlNode* node) { return reinterpret_cast<const char*>(node->name); }

bool isElement(const xmlNode* node, const char* tag) {
    return node->type == XML_ELEMENT_NODE && xmlStrcmp(node->name, reinterpret_cast<const xmlChar*>(tag)) == 0;
}

std::string where(const xmlNode* node) { return "line " + std::to_string(xmlGetLineNo(node)) + ", <" + name(node) + ">"; }

class Converter {
public:
    explicit Converter(int maxDepth) : _maxDepth(maxDepth) {}
    std::string error;

    // The element children of `node`; false (with `error` set) when it holds anything else than
    // whitespace and comments between them.
    bool elements(const xmlNode* node, std::vector<const xmlNode*>& out) {
        for (const xmlNode* c = node->children; c; c = c->next) {
            if (c->type == XML_ELEMENT_NODE) {
                out.push_back(c);
            } else if (c->type == XML_TEXT_NODE) {
                if (!xmlIsBlankNode(c)) return fail(node, "text between elements");
            } else if (c->type != XML_COMMENT_NODE) {
                return fail(node, "unexpected content (an entity, a section or an instruction)");
            }
        }
        return true;
    }

    // The text of a leaf element; false when it holds elements or anything but text.
    bool text(const xmlNode* node, std::string& out) {
        for (const xmlNode* c = node->children; c; c = c->next) {
            if (c->type == XML_TEXT_NODE || c->type == XML_CDATA_SECTION_NODE) {
                out += reinterpret_cast<const char*>(c->content);
            } else if (c->type != XML_COMMENT_NODE) {
                return fail(node, "holds more than text");
            }
        }
        return true;
    }

    bool convert(const xmlNode* node, int depth, Value& out) {
        if (isElement(node, "dict") || isElement(node, "array")) {
            if (depth >= _maxDepth) return fail(node, "nested deeper than " + std::to_string(_maxDepth) + " levels");
            std::vector<const xmlNode*> kids;
            if (!elements(node, kids)) return false;
            if (isElement(node, "array")) {
                Array array;
                array.reserve(kids.size());
                for (const xmlNode* kid : kids) {
                    Value v;
                    if (!convert(kid, depth + 1, v)) return false;
                    array.push_back(std::move(v));
                }
                out = Value(std::move(array));
                return true;
            }
            if (kids.size() % 2 != 0) return fail(node, "a key without a value");
            Dictionary dict;
            for (std::size_t i = 0; i < kids.size(); i += 2) {
                if (!isElement(kids[i], "key")) return fail(kids[i], "expected <key>");
                std::string key;
                if (!text(kids[i], key)) return false;
                Value v;
                if (!convert(kids[i + 1], depth + 1, v)) return false;
                if (!dict.emplace(key, std::move(v)).second) return fail(kids[i], "key \"" + key + "\" appears twice");
            }
            out = Value(std::move(dict));
            return true;
        }
        if (isElement(node, "true") || isElement(node, "false")) {
            if (node->children) return fail(node, "must be empty");
            out = Value(isElement(node, "true"));
            return true;
        }
        std::string s;
        if (isElement(node, "string")) {
            if (!text(node, s)) return false;
            out = Value(std::move(s));
            return true;
        }
        if (isElement(node, "integer")) {
            if (!text(node, s)) return false;
            errno = 0;
            char* end = nullptr;
            const long long n = std::strtoll(s.c_str(), &end, 10);
            if (s.empty() || *end != '\0' || errno == ERANGE) return fail(node, "not an integer: \"" + s + "\"");
            out = Value(static_cast<std::int64_t>(n));
            return true;
        }
        if (isElement(node, "real")) {
            if (!text(node, s)) return false;
            char* end = nullptr;
            const double d = std::strtod(s.c_str(), &end);
            if (s.empty() || *end != '\0') return fail(node, "not a number: \"" + s + "\"");
            out = Value(d);
            return true;
        }
        return fail(node, "not a value element (dict, array, string, integer, real, true or false)");
    }

private:
    bool fail(const xmlNode* node, const std::string& what) {
        error = where(node) + ": " + what;
        return false;
    }
    int _maxDepth;
};

}  // namespace

PlistResult readPlist(std::string_view data, int maxDepth) {
    if (data.size() > static_cast<std::size_t>(INT_MAX)) return {{}, "too large"};
    const QuietGenericErrors quiet;
    std::unique_ptr<xmlParserCtxt, CtxtFree> ctxt(xmlNewParserCtxt());
    if (!ctxt) return {{}, "out of memory"};
    // No network, no DTD loading, no entity expansion (XML_PARSE_NOENT is left out on purpose), and
    // errors kept from stderr: they come back through the context.
    const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_NOCDATA;
    std::unique_ptr<xmlDoc, DocFree> doc(
        xmlCtxtReadMemory(ctxt.get(), data.data(), static_cast<int>(data.size()), nullptr, nullptr, options));
    if (!doc || !ctxt->wellFormed) {
        const xmlError* e = xmlCtxtGetLastError(ctxt.get());
        std::string message = e && e->message ? e->message : "not well-formed XML";
        while (!message.empty() && (message.back() == '\n' || message.back() == ' ')) message.pop_back();
        if (e) message = "line " + std::to_string(e->line) + ": " + message;
        return {{}, "not a property list: " + message};
    }
    const xmlNode* root = xmlDocGetRootElement(doc.get());
    if (!root || !isElement(root, "plist")) return {{}, "not a property list: the root element is not <plist>"};
    Converter converter(maxDepth);
    std::vector<const xmlNode*> kids;
    if (!converter.elements(root, kids)) return {{}, converter.error};
    if (kids.size() != 1) return {{}, "<plist> must hold exactly one value"};
    Value value;
    if (!converter.convert(kids[0], 0, value)) return {{}, converter.error};
    return {std::move(value), {}};
}

}  // namespace plat::detail
