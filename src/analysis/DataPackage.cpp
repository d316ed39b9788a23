#include "analysis/DataPackage.h"

#include <nlohmann/json.hpp>

namespace trelvox::analysis {

namespace {

// Keys in the order written, so that the file reads top-down and stays the same run to run.
using Json = nlohmann::ordered_json;

const char* TypeName(ColumnType type) {
  switch (type) {
    case ColumnType::Integer:
      return "integer";
    case ColumnType::Number:
      return "number";
    case ColumnType::Date:
      return "date";
    case ColumnType::Time:
      return "time";
    case ColumnType::String:
      break;
  }
  return "string";
}

Json Field(const ColumnLayout& column) {
  Json field;
  field["name"] = column.name;
  field["type"] = TypeName(column.type);
  if (column.type == ColumnType::Date || column.type == ColumnType::Time) {
    field["format"] = "default";  // ISO 8601: 2015-06-29, 13:26:39
  }
  std::string description = column.description;
  if (column.type == ColumnType::Number) {
    description += column.decimals >= 0
                       ? "; plain decimal with " + std::to_string(column.decimals) + " decimals"
                       : "; plain decimal as written";
  }
  field["description"] = description;
  if (!column.unit.empty()) {
    field["unit"] = column.unit;
  }
  if (column.decimals >= 0) {
    field["decimals"] = column.decimals;
  }
  if (!column.values.empty()) {
    Json allowed = Json::array();
    for (const std::string& value : column.values) {
      if (column.type == ColumnType::Integer) {
        allowed.push_back(std::stoi(value));
      } else {
        allowed.push_back(value);
      }
    }
    field["constraints"] = {{"enum", allowed}};
  }
  return field;
}

Json Resource(const TableLayout& table) {
  Json fields = Json::array();
  for (const ColumnLayout& column : table.columns) {
    fields.push_back(Field(column));
  }
  Json resource;
  resource["name"] = table.name;
  resource["path"] = table.path;
  resource["profile"] = "tabular-data-resource";
  resource["description"] = table.description;
  resource["format"] = "tsv";
  resource["mediatype"] = "text/tab-separated-values";
  resource["encoding"] = "utf-8";
  // Nothing is quoted: a cell never holds a tab or a line end.
  resource["dialect"] = {
      {"delimiter", "\t"}, {"lineTerminator", "\n"}, {"header", true}, {"doubleQuote", false}};
  resource["schema"] = {{"fields", fields}, {"missingValues", Json::array({""})}};
  return resource;
}

}  // namespace

std::string DataPackageJson(const std::vector<TableLayout>& tables,
                            const std::vector<PackageSource>& sources,
                            const std::vector<std::string>& commandLine,
                            const std::string& version) {
  Json package;
  package["profile"] = "tabular-data-package";
  package["name"] = "trelvox-analysis";
  package["title"] = "DMDX results analysed by Trelvox";
  Json resources = Json::array();
  for (const TableLayout& table : tables) {
    resources.push_back(Resource(table));
  }
  package["resources"] = resources;
  Json inputs = Json::array();
  for (const PackageSource& source : sources) {
    inputs.push_back({{"title", source.name}, {"path", source.name}, {"bytes", source.bytes}});
  }
  package["sources"] = inputs;
  package["trelvox"] = {{"version", version}, {"command", commandLine}};
  return package.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace trelvox::analysis
