#pragma once

#include <string>
#include <vector>

// The fastest won races, kept between runs in a small TOML file: the five best times, fastest
// first, each with the day it was run. Nothing here stops the game: a file that cannot be read
// or written costs a one-line warning and the list lives on in memory.
class BestTimes {
  public:
    struct Date {
        int year = 1970;
        int month = 1;
        int day = 1;
        bool operator==(const Date& other) const {
            return year == other.year && month == other.month && day == other.day;
        }
    };
    struct Entry {
        double seconds = 0.0;
        Date date;
        // When it was won, in seconds since 1970, to tell the newest of one day's races; 0 for
        // a race kept before the file said.
        long long wonAt = 0;
    };

    static constexpr int kept = 5;

    explicit BestTimes(std::string path);

    // Reads the file. A missing file is an empty list. A damaged one is moved aside, as it
    // was, to the first free name of <path>.bad, <path>.bad.1, <path>.bad.2, ..., with a
    // warning; its entries that can be read stay on the list (and are written back at once),
    // the others are dropped. A file that cannot be parsed at all starts an empty list.
    void load();
    // Puts a won race in its place, in hundredths of a second: returns its place (1 for a new
    // best) or 0 when it is not among the five. An equal time ranks behind the one run before
    // it, so only a faster race is a new best.
    int record(double seconds, const Date& date, long long wonAt = 0);
    // Writes the list to <path>.tmp and renames that over the file, so the file under its own
    // name is always a whole one; the folders are made as needed. False when it cannot be
    // written, with a warning the first time only: each win tries again, unheard.
    bool save() const;

    const std::vector<Entry>& entries() const { return list; }
    // The place (from 0) of the race won last: the latest day, on it the latest won; -1 when
    // the list is empty.
    int newest() const;
    const std::string& path() const { return filePath; }

    // $XDG_DATA_HOME/quillorb/best-times.toml, else ~/.local/share/quillorb/best-times.toml;
    // "" when neither folder is known.
    static std::string defaultPath();
    // The local calendar day now.
    static Date today();

  private:
    void setAside(const std::string& reason);
    std::string freeAsideName() const;

    std::string filePath;
    std::vector<Entry> list;
    // A file that is there but could not be read is never written over.
    bool writable = true;
    mutable bool saveFailureTold = false;
};
