#include "report/records.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace ferrolux {
namespace {

// Every kind of field through both writers: the header follows the values (an impedance is two
// columns, absent or not), texts are guarded and filtered, and nothing writes nan or inf.
TEST(Records, CsvHeaderAndValuesAndJsonFromOneRecord) {
  const Record record = {{"name", std::string("=SUM(A1)\x1b")},
                         {"loss", 1.25},
                         {"lost", INFINITY},
                         {"possible", true},
                         {"none", nullptr},
                         {"z", ImpedanceValue({50, -3.5})},
                         {"z0", ImpedanceValue()},
                         {"k0", CatalogNumber{"0.660"}},
                         {"k1", CatalogNumber{""}}};
  std::ostringstream csv;
  WriteCsv(csv, record, 1, [&](std::size_t) { return record; });
  EXPECT_EQ(csv.str(),
            "name,loss,lost,possible,none,z_re,z_im,z0_re,z0_im,k0,k1\n"
            "'=SUM(A1)\uFFFD,1.25,,yes,,50,-3.5,,,0.660,\n");
  EXPECT_EQ(JsonOf(record).dump(),
            "{\"name\":\"=SUM(A1)\uFFFD\",\"loss\":1.25,\"lost\":null,\"possible\":true,\"none\":null,"
            "\"z\":{\"re\":50.0,\"im\":-3.5},\"z0\":null,\"k0\":0.66,\"k1\":null}");
}

}  // namespace
}  // namespace ferrolux
