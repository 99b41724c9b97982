#pragma once

#include <cstdio>
#include <string>

#include "session/Replay.h"

// Records a race into a replay file as it is played. Everything goes first to a file next to
// the final one, finalPath + ".part", flushed after every record: a crash leaves the race up
// to the crash there, and the final name only ever holds a whole replay, put in place by
// finish(). Recording never stops the game: when the file cannot be written, one warning line
// says why and the calls below do nothing.
class ReplayWriter {
  public:
    ReplayWriter() = default;
    // Closes an unfinished recording without putting it in place (it stays as the .part file).
    ~ReplayWriter();
    ReplayWriter(const ReplayWriter&) = delete;
    ReplayWriter& operator=(const ReplayWriter&) = delete;

    // Starts a recording, creating missing folders of the path. Leave header.formatVersion at
    // its default. False, with a warning, when nothing will be recorded. An unfinished earlier
    // recording is closed as the destructor would.
    bool open(const std::string& finalPath, const ReplayHeader& header);
    // From a successful open() to finish(), unless writing failed on the way.
    bool isRecording() const { return file != nullptr; }
    // The final path of the last open().
    const std::string& path() const { return finalPath; }

    // One drawn frame: its time as the clock measured it and the input the step was given.
    // A frame no replay may hold (a frame time outside 0 to 3600 s, key bits beyond W, A, S
    // and D, a stick beyond -1 to 1) ends the recording with a warning; what came before it is
    // kept and still put in place by finish().
    void frame(double frameTime, const RaceInput& input);
    void pause();
    void resume();
    void playAgain();
    // Where the race stood: a Check or End record. One no replay may hold (a race time or
    // position not finite, an unknown outcome) ends the recording as a bad frame does.
    void check(const ReplayRecord& check);

    // Closes the file and renames it onto the final path, replacing any replay there in one
    // step. False when there was nothing to finish or it failed (with a warning).
    bool finish();
    // Ends a recording without putting it in place: the file under the final name stays the
    // earlier one, and the .part file goes.
    void discard();

    // Writes a whole replay at once, through the .part file and the same rename: the file
    // under path is the earlier one or this one, never half of either. False, with the
    // warning, when it could not be written.
    static bool writeWhole(const std::string& path, const Replay& replay);

  private:
    void append(const ReplayRecord& record);
    // Writes and flushes; on failure warns, closes and leaves only the .part file.
    bool write(const std::string& bytes);
    void close();
    void warn(const std::string& what) const;

    std::FILE* file = nullptr;
    std::string finalPath;
    std::string partPath;
    size_t recordCount = 0;
    // Set when a frame could not be recorded: later records are dropped, so the file keeps
    // a consistent race up to that point.
    bool stopped = false;
};
