// Names table rows after their `name` field, so a failing row says which it is.
#pragma once
#include <gtest/gtest.h>

#include <string>

namespace testdata {

struct ByNameField {
  template <class Row>
  std::string operator()(const ::testing::TestParamInfo<Row>& row) const {
    return row.param.name;
  }
};

}  // namespace testdata
