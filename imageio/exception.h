// Exceptions used inside the image library. They never leave it: each reader
// catches them at its edge and turns them into its error code.
#pragma once
#include <cstdint>
#include <exception>
#include <string>

class ISException : public std::exception {
public:
    ISException(int32_t code, std::string message) : code_(code), message_(std::move(message)) {}
    int32_t code() const { return code_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    int32_t code_;
    std::string message_;
};

// A new thread state could not be stored in the thread slot.
class TlsException : public std::exception {
public:
    explicit TlsException(uint32_t os_error) : os_error_(os_error) {}
    uint32_t os_error() const { return os_error_; }
    const char* what() const noexcept override { return "thread state cannot be stored"; }

private:
    uint32_t os_error_;
};
