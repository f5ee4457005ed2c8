#pragma once
// The exception family the data readers throw and catch at their own boundary. Messages are
// CP932 bytes.
#include <string>

namespace support {

class CException {
public:
    virtual ~CException() = default;
    virtual std::string GetMessage() const;
};

class CIndexOutOfBoundsException : public CException {
public:
    std::string GetMessage() const override;
};

class CNullPointerException : public CException {
public:
    std::string GetMessage() const override;
};

class CRuntimeException : public CException {
public:
    explicit CRuntimeException(std::string message = {}) : message_(std::move(message)) {}
    std::string GetMessage() const override;

private:
    std::string message_;
};

class CSyntaxException : public CException {
public:
    explicit CSyntaxException(std::string message) : message_(std::move(message)) {}
    std::string GetMessage() const override { return message_; }

private:
    std::string message_;
};

}  // namespace support
