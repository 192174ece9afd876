#pragma once
// Exceptions the platform layer raises where the original platform raised named exceptions.

#include <stdexcept>
#include <string>

#include "Platform/PlatformExport.h"

namespace plat {

class PLAT_EXPORT Exception : public std::runtime_error {
public:
    Exception(std::string name, const std::string& reason) : std::runtime_error(reason), _name(std::move(name)) {}
    const std::string& name() const { return _name; }

private:
    std::string _name;
};

// Key-value access to a key the target does not have.
class PLAT_EXPORT UndefinedKeyException : public Exception {
public:
    UndefinedKeyException(const std::string& key, const std::string& className)
        : Exception(
              "UndefinedKey",
              "[" + className + " valueForUndefinedKey:]: this class is not key value coding-compliant for the key " + key + "."),
          _key(key) {}
    const std::string& key() const { return _key; }

private:
    std::string _key;
};

// A value that cannot be stored in the property it was written to.
class PLAT_EXPORT InvalidArgumentException : public Exception {
public:
    explicit InvalidArgumentException(const std::string& reason) : Exception("InvalidArgument", reason) {}
};

// A method that a subclass must override was called on its base.
class PLAT_EXPORT InternalInconsistencyException : public Exception {
public:
    explicit InternalInconsistencyException(const std::string& reason) : Exception("InternalInconsistency", reason) {}
};

}  // namespace plat
