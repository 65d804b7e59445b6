// The errors that the service layer raises. Every failed step raises one.
#pragma once
#include <stdexcept>
#include <string>

namespace service {

// A failed client-library call, made from its status vector.
class EIBError : public std::runtime_error {
 public:
  EIBError(long sqlCode, long ibErrorCode, const std::string& message)
      : std::runtime_error(message), SQLCode(sqlCode), IBErrorCode(ibErrorCode) {}
  long SQLCode;
  long IBErrorCode;
};

// The database layer's own errors: no client library, a call the library lacks,
// a request that cannot be encoded.
class EIBClientError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// An entry point that the binding demands is missing.
class EOSError : public std::runtime_error {
 public:
  EOSError(int errorCode, const std::string& message)
      : std::runtime_error(message), ErrorCode(errorCode) {}
  int ErrorCode;
};

}  // namespace service
