#pragma once

#include <QString>
#include <exception>

namespace ravell {

// An error that ends the command that raised it; its message is shown as is.
class Error : public std::exception {
 public:
  explicit Error(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}
  const QString& message() const { return message_; }
  const char* what() const noexcept override { return utf8_.constData(); }

 private:
  QString message_;
  QByteArray utf8_;
};

// A text that is not a valid number, time or date.
class ConvertError : public Error {
 public:
  using Error::Error;
};

// A file that could not be read or written.
class FileError : public Error {
 public:
  using Error::Error;
};

}  // namespace ravell
