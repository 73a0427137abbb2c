#include "report/records.hpp"

#include <ostream>

#include "report/output.hpp"
#include "text/charset.hpp"
#include "text/text.hpp"

namespace ferrolux {

namespace {

using Json = nlohmann::ordered_json;

template <typename... Visitors>
struct Overloaded : Visitors... {
  using Visitors::operator()...;
};
template <typename... Visitors>
Overloaded(Visitors...) -> Overloaded<Visitors...>;

// The CSV cells of a field: two for an impedance, one for anything else.
std::vector<std::string> CsvCells(const FieldValue& value) {
  return std::visit(
      Overloaded{[](const std::string& text) { return std::vector{CsvField(text)}; },
                 [](double number) { return std::vector{MachineNumber(number)}; },
                 [](bool yes) { return std::vector<std::string>{yes ? "yes" : "no"}; },
                 [](std::nullptr_t) { return std::vector<std::string>{""}; },
                 [](const ImpedanceValue& z) {
                   return z ? std::vector{MachineNumber(z->real()), MachineNumber(z->imag())}
                            : std::vector<std::string>{"", ""};
                 },
                 [](const CatalogNumber& number) { return std::vector{CsvField(JsonText(number.bytes))}; }},
      value);
}

Json JsonValue(const FieldValue& value) {
  return std::visit(
      Overloaded{[](const std::string& text) { return Json(OutputTextOfUtf8(text, ControlForm::kReplacement)); },
                 [](double number) { return Json(number); }, [](bool yes) { return Json(yes); },
                 [](std::nullptr_t) { return Json(nullptr); },
                 [](const ImpedanceValue& z) {
                   return z ? Json{{"re", z->real()}, {"im", z->imag()}} : Json(nullptr);
                 },
                 [](const CatalogNumber& number) {
                   return number.bytes.empty() ? Json(nullptr) : Json(ParseNumber(number.bytes));
                 }},
      value);
}

void WriteLine(std::ostream& out, const std::vector<std::string>& cells) {
  for (std::size_t i = 0; i < cells.size(); ++i) out << (i ? "," : "") << cells[i];
  out << '\n';
}

}  // namespace

FieldValue NumberOr(bool present, double value) { return present ? FieldValue(value) : FieldValue(nullptr); }

FieldValue NumberIn(const Json& value) {
  return value.is_number() ? FieldValue(value.get<double>()) : FieldValue(nullptr);
}

void WriteCsvHeader(std::ostream& out, const Record& record) {
  std::vector<std::string> names;
  for (const Field& field : record) {
    if (std::holds_alternative<ImpedanceValue>(field.value))
      names.insert(names.end(), {field.name + "_re", field.name + "_im"});
    else names.push_back(field.name);
  }
  WriteLine(out, names);
}

void WriteCsvLine(std::ostream& out, const Record& record) {
  std::vector<std::string> cells;
  for (const Field& field : record) {
    const std::vector<std::string> more = CsvCells(field.value);
    cells.insert(cells.end(), more.begin(), more.end());
  }
  WriteLine(out, cells);
}

Json JsonOf(const Record& record) {
  Json j = Json::object();
  for (const Field& field : record) j[field.name] = JsonValue(field.value);
  return j;
}

}  // namespace ferrolux
