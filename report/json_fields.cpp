#include "report/json_fields.hpp"

#include <cmath>

#include "report/output.hpp"
#include "text/text.hpp"

namespace ferrolux {

nlohmann::ordered_json NumberOrNull(double value) {
  return std::isfinite(value) ? nlohmann::ordered_json(value) : nlohmann::ordered_json(nullptr);
}

nlohmann::ordered_json ImpedanceJson(std::complex<double> z) { return {{"re", z.real()}, {"im", z.imag()}}; }

Record CableFields(const CatalogRow& cable) {
  Record record;
  record.reserve(kCableFields.size());
  for (const FieldName& field : kCableFields) {
    const std::string& cell = cable[field.column];
    record.push_back(
        {std::string(field.key), field.numeric ? FieldValue(CatalogNumber{cell}) : FieldValue(JsonText(cell))});
  }
  return record;
}

nlohmann::ordered_json CableJson(const CatalogRow& cable) { return JsonOf(CableFields(cable)); }

namespace {

constexpr int kIndent = 2;

std::string Indent(int level) { return std::string(static_cast<size_t>(level * kIndent), ' '); }

}  // namespace

std::string IndentedJson(const nlohmann::ordered_json& value, int level) {
  // A JSON text holds no raw line end but those of its layout.
  const std::string text = value.dump(kIndent);
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    out += c;
    if (c == '\n') out += Indent(level);
  }
  return out;
}

JsonArrayWriter::JsonArrayWriter(std::ostream& out, int level) : out_(out), level_(level) { out_ << '['; }

void JsonArrayWriter::Add(const nlohmann::ordered_json& element) {
  out_ << (empty_ ? "\n" : ",\n") << Indent(level_ + 1) << IndentedJson(element, level_ + 1);
  empty_ = false;
}

void JsonArrayWriter::Close() {
  if (!empty_) out_ << '\n' << Indent(level_);
  out_ << ']';
}

void WriteJsonWithList(std::ostream& out, const nlohmann::ordered_json& before, std::string_view list,
                       std::size_t count, const std::function<nlohmann::ordered_json(std::size_t)>& element,
                       const nlohmann::ordered_json& after) {
  const char* separator = "{\n  ";
  const auto name = [&](std::string_view key) {
    out << separator << nlohmann::ordered_json(key) << ": ";
    separator = ",\n  ";
  };
  const auto members = [&](const nlohmann::ordered_json& object) {
    for (const auto& [key, value] : object.items()) {
      name(key);
      out << IndentedJson(value, 1);
    }
  };
  members(before);
  name(list);
  JsonArrayWriter array(out, 1);
  for (std::size_t i = 0; i < count; ++i) array.Add(element(i));
  array.Close();
  members(after);
  out << "\n}\n";
}

}  // namespace ferrolux
