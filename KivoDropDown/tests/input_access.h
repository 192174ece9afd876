#pragma once
// The input library's one way into what its classes keep private, for tests only: the classes name
// this type a friend, and only the tests define it.

#include <string>
#include <string_view>
#include <vector>

#include "KivoDropDown/KivoDropDown.h"
#include "KivoMaskedTextField/KivoMaskHandler.h"

namespace kivo::testing {

struct InputAccess {
    // ---- Drop-down ----
    // What the outside-tap recogniser does with a tap at `locationInRoot` (root view coordinates).
    static void tapOutside(KivoDropDown& dropDown, plat::Point locationInRoot) { dropDown._respondToTapGesture(locationInRoot); }

    // ---- Mask handler ----
    static std::vector<bool> filledPositions(const KivoMaskHandler& handler, std::string_view text) {
        return handler._filledPositions(text);
    }
    static bool isCharValid(const KivoMaskHandler& handler, char16_t wildcard, char16_t c) {
        return handler._isCharValid(wildcard, c);
    }
    static bool isSurrogate(char16_t c) { return KivoMaskHandler::_isSurrogate(c); }
    static bool isDigit(char16_t c) { return KivoMaskHandler::_isDigit(c); }
    static bool isAlphanumeric(char16_t c) { return KivoMaskHandler::_isAlphanumeric(c); }
    static std::string dateTimeSeparator(bool isDate) { return KivoMaskHandler::_getDateTimeSeparator(isDate); }
};

}  // namespace kivo::testing
