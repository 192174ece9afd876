#pragma once
// One position of a parsed mask: an input position (its mask character, case and optional flag) or a
// literal position (the fixed character it always shows).

#include <cstdint>

#include "KivoInput/KivoInputExport.h"

// How an input position maps the case of what is typed into it.
enum KivoMaskCharCase : std::int64_t {
    KivoMaskCharCaseNone = 0,
    KivoMaskCharCaseUpper = 1,
    KivoMaskCharCaseLower = 2,
};

class KIVO_INPUT_EXPORT KivoMaskElement {
public:
    // `mask` goes to `wildcard` for an input position, to `literal` otherwise; a literal position
    // keeps no case.
    KivoMaskElement(char16_t mask, bool isWildcard, bool isOptional, std::int64_t caseType)
        : _wildcard(isWildcard ? mask : u'\0'),
          _literal(isWildcard ? u'\0' : mask),
          _charCase(isWildcard ? caseType : KivoMaskCharCaseNone),
          _isOptional(isOptional) {}

    // At an input position, the wildcard that decides what may be typed there (one of the mask
    // language's input characters, listed in KivoMaskHandler.h); 0 at a literal position.
    char16_t wildcard() const { return _wildcard; }
    // The character of a literal position, or 0.
    char16_t literal() const { return _literal; }
    bool isLiteral() const { return _wildcard == u'\0'; }
    // A KivoMaskCharCase code.
    std::int64_t charCase() const { return _charCase; }
    // Set for "?" and "C"; an optional position left empty still leaves the mask not full.
    bool isOptional() const { return _isOptional; }
    bool isVague() const { return false; }

    friend bool operator==(const KivoMaskElement&, const KivoMaskElement&) = default;

private:
    char16_t _wildcard;
    char16_t _literal;
    std::int64_t _charCase;
    bool _isOptional;
};
