#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace trelvox {

class FileChannels;
class Ui;

// Element 0 holds the number n of values as decimal text; elements 1 to n hold the values.
// After every operation the array has exactly n + 1 elements.
using FieldRecord = std::vector<std::string>;

// The record without values: one element holding "0".
FieldRecord EmptyRecord();
void MakeEmpty(FieldRecord& record);

// The count as element 0 states it. A record whose element 0 is missing or is not a plain
// decimal count is read as holding no values.
int RecordCount(const FieldRecord& record);
void SetRecordCount(FieldRecord& record, int count);

// Writes the values joined by single tabs as one line with CR LF.
void WriteRecord(FileChannels& files, std::int16_t channel, const FieldRecord& record);

// Adds the value after the last one; raises OverflowError when 32767 values are held already.
void AppendValueToRecord(FieldRecord& record, std::string_view value);
// Removes one value: an index of 0 or less removes the first value, one past the end the last.
// A record without values stays empty.
void DeleteValueInRecord(FieldRecord& record, int index);
// Puts the value at index 1 to n + 1. Any other index shows
// "Error in InsertValueInRecord: Index out of range!" and leaves the record unchanged.
void InsertValueInRecord(FieldRecord& record, std::string_view value, int index, Ui& ui);
// Puts the values at indexes 1, 2, 3, ... in one step, as inserting each in turn at its index
// would; the record's values follow them.
void InsertLeadingValues(FieldRecord& record, std::initializer_list<std::string_view> values);
// Replaces every occurrence of `search` that starts at a position by `replacement`, consuming
// only the first character of the occurrence each time.
void ReplaceChar(std::string& text, std::string_view search, std::string_view replacement);

}  // namespace trelvox
