#include "session/BestTimes.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <tuple>
#include <utility>

#include <toml++/toml.h>

#include "platform/WholeFile.h"
#include "settings/UserDirectories.h"

namespace {

const char* const fileHeading = "# Quillorb 3D: the fastest won races, fastest first.\n\n";

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// Only days a calendar has: the file must read back as it was written.
bool isValidDate(const BestTimes::Date& date) {
    static const int daysInMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (date.year < 1 || date.year > 9999 || date.month < 1 || date.month > 12)
        return false;
    int days = daysInMonth[date.month - 1] + (date.month == 2 && isLeapYear(date.year) ? 1 : 0);
    return date.day >= 1 && date.day <= days;
}

// Messages are single lines, whatever a parser's description holds.
std::string oneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    std::replace(text.begin(), text.end(), '\r', ' ');
    return text;
}

// Why one entry of "best" cannot be read, or "" when it can.
std::string readEntry(const toml::node& node, BestTimes::Entry& entry) {
    const toml::table* table = node.as_table();
    if (table == nullptr)
        return "an entry is not a table";
    std::optional<double> seconds = (*table)["seconds"].value<double>();
    if (!seconds || !std::isfinite(*seconds) || *seconds <= 0.0)
        return "an entry has no time in seconds";
    std::optional<toml::date> date = (*table)["date"].value<toml::date>();
    if (!date)
        return "an entry has no date";
    entry = {*seconds, {date->year, date->month, date->day}, 0};
    // Only later versions note when in the day: its lack is no damage.
    if (std::optional<int64_t> wonAt = (*table)["won"].value<int64_t>())
        entry.wonAt = std::max<int64_t>(*wonAt, 0);
    if (!isValidDate(entry.date))
        return "an entry's date is not a day of the calendar";
    return "";
}

// The readable entries of a parsed file. Returns what is wrong with the file: "" when
// nothing, else why the list or its first unreadable entry could not be read.
std::string readEntries(const toml::table& root, std::vector<BestTimes::Entry>& entries,
                        int& dropped) {
    dropped = 0;
    const toml::node* best = root.get("best");
    if (best == nullptr)
        return "";
    const toml::array* list = best->as_array();
    if (list == nullptr)
        return "\"best\" is not a list";
    std::string firstProblem;
    for (const toml::node& node : *list) {
        BestTimes::Entry entry;
        std::string problem = readEntry(node, entry);
        if (problem.empty()) {
            entries.push_back(entry);
            continue;
        }
        if (dropped++ == 0)
            firstProblem = problem;
    }
    if (dropped == 1)
        return firstProblem;
    if (dropped > 1)
        return std::to_string(dropped) + " entries cannot be read, the first because " +
               firstProblem;
    return "";
}

std::string toText(const std::vector<BestTimes::Entry>& entries) {
    toml::array best;
    for (const BestTimes::Entry& entry : entries) {
        const BestTimes::Date& d = entry.date;
        toml::table kept{{"seconds", entry.seconds}, {"date", toml::date(d.year, d.month, d.day)}};
        if (entry.wonAt > 0)
            kept.insert("won", static_cast<int64_t>(entry.wonAt));
        best.push_back(std::move(kept));
    }
    toml::table root{{"best", std::move(best)}};
    std::ostringstream text;
    // Times are kept in hundredths; the default full precision would print 62.35 as
    // 62.350000000000001.
    text << fileHeading
         << toml::toml_formatter(root, toml::toml_formatter::default_flags |
                                           toml::format_flags::relaxed_float_precision)
         << "\n";
    return text.str();
}

void notSaved(const std::string& path, const std::string& reason) {
    std::cerr << "Best times could not be saved to " << path << ": " << oneLine(reason)
              << "; the game plays on" << std::endl;
}

} // namespace

BestTimes::BestTimes(std::string path) : filePath(std::move(path)) {}

void BestTimes::load() {
    namespace fs = std::filesystem;
    list.clear();
    writable = true;
    std::error_code error;
    fs::file_status status = fs::status(filePath, error);
    if (!fs::exists(status))
        return;
    std::ifstream in;
    if (fs::is_regular_file(status))
        in.open(filePath, std::ios::binary);
    std::string text(std::istreambuf_iterator<char>(in), {});
    if (!in.is_open() || in.bad()) {
        writable = false;
        std::cerr << "Best times could not be read from " << filePath
                  << "; this run keeps its own list" << std::endl;
        return;
    }

    toml::table root;
    try {
        root = toml::parse(text, filePath);
    } catch (const toml::parse_error& e) {
        setAside("line " + std::to_string(e.source().begin.line) + ": " +
                 std::string(e.description()));
        return;
    }
    int dropped = 0;
    std::string problem = readEntries(root, list, dropped);
    if (!problem.empty() && dropped == 0)
        list.clear();
    // The file may have been edited by hand: put it in order again.
    std::stable_sort(list.begin(), list.end(),
                     [](const Entry& a, const Entry& b) { return a.seconds < b.seconds; });
    if (list.size() > kept)
        list.resize(kept);
    if (problem.empty())
        return;
    setAside(problem);
    // The times that could be read go back under the file's own name at once, so they are
    // not lost when this run wins no race.
    if (!list.empty())
        save();
}

std::string BestTimes::freeAsideName() const {
    // Each damaged file keeps a name of its own: the first .bad, then .bad.1, .bad.2, ...
    std::string aside = filePath + ".bad";
    for (int n = 1;; ++n) {
        std::error_code error;
        if (!std::filesystem::exists(std::filesystem::symlink_status(aside, error)))
            return aside;
        aside = filePath + ".bad." + std::to_string(n);
    }
}

void BestTimes::setAside(const std::string& reason) {
    const std::string aside = freeAsideName();
    const std::string problem = moveFile(filePath, aside);
    if (!problem.empty()) {
        writable = false;
        std::cerr << "Best times file " << filePath << " is damaged (" << oneLine(reason)
                  << ") and could not be moved aside (" << problem
                  << "); this run keeps its own list" << std::endl;
        return;
    }
    std::cerr << "Best times file " << filePath << " is damaged (" << oneLine(reason)
              << "); kept it as " << aside;
    if (list.empty())
        std::cerr << " and started a new list" << std::endl;
    else
        std::cerr << " and kept the " << list.size() << " times it could read" << std::endl;
}

int BestTimes::newest() const {
    auto later = [](const Entry& a, const Entry& b) {
        return std::tie(a.date.year, a.date.month, a.date.day, a.wonAt) <
               std::tie(b.date.year, b.date.month, b.date.day, b.wonAt);
    };
    auto found = std::max_element(list.begin(), list.end(), later);
    return found == list.end() ? -1 : static_cast<int>(found - list.begin());
}

int BestTimes::record(double seconds, const Date& date, long long wonAt) {
    const double hundredths = std::round(seconds * 100.0) / 100.0;
    if (!std::isfinite(hundredths) || !(hundredths > 0.0) || !isValidDate(date))
        return 0;
    auto at =
        std::upper_bound(list.begin(), list.end(), hundredths,
                         [](double time, const Entry& entry) { return time < entry.seconds; });
    const int place = static_cast<int>(at - list.begin()) + 1;
    if (place > kept)
        return 0;
    list.insert(at, Entry{hundredths, date, wonAt});
    if (list.size() > kept)
        list.resize(kept);
    return place;
}

bool BestTimes::save() const {
    if (!writable || filePath.empty())
        return false;
    const std::string problem = replaceFileWhole(filePath, toText(list));
    if (problem.empty())
        return true;
    if (!saveFailureTold)
        notSaved(filePath, problem);
    saveFailureTold = true;
    return false;
}

std::string BestTimes::defaultPath() {
    return bestTimesPath();
}

BestTimes::Date BestTimes::today() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    Date date;
    if (localtime_r(&now, &local) != nullptr)
        date = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
    return date;
}
