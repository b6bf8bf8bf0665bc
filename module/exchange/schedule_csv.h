// The steel schedule as CSV (RFC 4180, UTF-8): one line per row as the table numbers them,
// then the totals per grade and diameter and per grade, the same sums the table prints.
#pragma once

#include <string>
#include <vector>

#include "module/model/schedule_row.h"

namespace exchange {

// A field as RFC 4180 writes it: quoted (inner quotes doubled) when it holds a comma, a quote,
// a line break or blanks at either end; as it is otherwise.
std::string CsvField(const std::string& text);

// The whole file: a header line, the rows, the totals; lines end in CR LF.
std::string ScheduleCsv(const std::vector<CWykazObj>& rows);

}  // namespace exchange
