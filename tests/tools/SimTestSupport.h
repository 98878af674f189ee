#pragma once

// Running velmora-sim in-process and reading its csv, shared by its tests.
#include "velmora-sim/SimRun.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace SimTest
{

struct TRun {
    int Status = -1;
    std::string Out, Err;
};

inline TRun Sim(std::vector<std::string_view> args)
{
    std::ostringstream out, err;
    TRun r;
    r.Status = RunVelmoraSim(args, out, err);
    r.Out = out.str();
    r.Err = err.str();
    return r;
}

inline std::vector<std::string> Split(const std::string &text, char sep)
{
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, sep))
        parts.push_back(part);
    if (sep == ',' && !text.empty() && text.back() == ',')
        parts.emplace_back();
    return parts;
}

// The csv fields of row `n` (0 is the header), by column name.
inline std::map<std::string, std::string> CsvRow(const std::string &out, std::size_t n)
{
    const std::vector<std::string> lines = Split(out, '\n');
    const std::vector<std::string> names = Split(lines.at(0), ',');
    const std::vector<std::string> cells = Split(lines.at(n), ',');
    EXPECT_EQ(cells.size(), names.size()) << lines.at(n);
    std::map<std::string, std::string> row;
    for (std::size_t i = 0; i < names.size() && i < cells.size(); ++i)
        row[names[i]] = cells[i];
    return row;
}

} // namespace SimTest
