// Byte encodings of the Services API requests, and the assembly of an error
// message from the client library's status texts.
#pragma once
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace core {

// A request that cannot be encoded; raised before anything is sent.
class EncodingError : public std::invalid_argument {
 public:
  using std::invalid_argument::invalid_argument;
};

// Service parameter buffer from "name=value" lines ("user_name", "password").
std::string buildServiceParameterBuffer(const std::vector<std::string>& params);

// Start request of the database-properties action setting the access mode.
std::string buildAccessModeRequest(std::string_view databaseName, bool readOnly);

// Joins the status texts with CR LF (unless the message already ends in LF)
// and removes one final full stop.
std::string joinStatusTexts(const std::vector<std::string>& texts);

}  // namespace core
