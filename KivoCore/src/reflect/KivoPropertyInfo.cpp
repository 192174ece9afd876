#include "KivoCore/KivoPropertyInfo.h"

#include <string_view>

void KivoPropertyInfo::parseAttributes(const std::string& attributes) {
    if (attributes.find("\"NSNumber\"") != std::string::npos) {
        _dataType = KivoDataTypeNumber;
    } else if (attributes.find("\"NSDate\"") != std::string::npos) {
        _dataType = KivoDataTypeDate;
    } else if (attributes.find("\"NSString\"") != std::string::npos) {
        _dataType = KivoDataTypeString;
    } else if (attributes.size() >= 2) {
        char code = attributes[1];
        if (std::string_view("ILQSdfilqs").find(code) != std::string_view::npos)
            _dataType = KivoDataTypeNumber;
        else if (std::string_view("BCc").find(code) != std::string_view::npos)
            _dataType = KivoDataTypeBoolean;
    }
}
