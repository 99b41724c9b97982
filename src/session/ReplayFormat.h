#pragma once

// The replay file, shared by ReplayWriter and ReplayReader.
//
// Every number is little-endian and written byte by byte, so a replay recorded on one machine
// plays on any other; doubles and floats keep their exact bit patterns, so playing a replay
// runs the very same arithmetic as the race did.
//
//   "QUILLORB-REPLAY" and a zero byte      16 bytes, to tell a replay from any other file
//   format version                         u16, replayFormatVersion
//   game version                           u16 byte count (at most 255), then the bytes
//   level hash                             u64, hashLevelData() of the level raced on
//   from format 2 on:
//     simulation version                   u16, the SimulationVersion the race ran under
//     course                               u8 byte count (at most 32), then a-z, 0-9 and '-'
//   records to the end of the file, each a u8 kind and its body:
//     1 frame        f64 frame time, u8 W/A/S/D key mask, f32 stick x, f32 stick y
//     2 pause, 3 resume, 4 play again      no body
//     5 check        f64 race time, f32 marble x, y, z
//     6 end          u8 outcome (1 won, 2 game over, 3 quit), f64 race time, u8 spare lives,
//                    f32 marble x, y, z
//
// There is no record count and no end mark: the writer flushes each record as it happens, so
// a file cut off by a crash is still a valid replay up to its last whole record. A record cut
// short at the end is damage. A reader refuses a later format version outright, since it may
// lay out everything after the version differently; it reads every earlier one, which writes
// the same records after a shorter header. Format 1 has no simulation version and no course.
#include <cstddef>
#include <cstdint>
#include <string>

#include "session/Replay.h"

constexpr char replayMagic[] = "QUILLORB-REPLAY";
constexpr size_t replayMagicBytes = sizeof(replayMagic); // with its zero byte
constexpr size_t maxReplayGameVersionBytes = 255;
constexpr size_t maxReplayCourseBytes = 32;
// Limits that no real race comes near, so a hostile file cannot make the reader allocate
// without end: 4 million records is over an hour at 1000 frames a second.
constexpr size_t maxReplayRecords = size_t(1) << 22;
constexpr double maxReplayFrameTime = 3600.0;
// A stick is capped at length 1; the slack is for rounding in that cap.
constexpr float maxReplayStick = 1.0001f;
// The countdown ends every race long before a day of race time; and the game gives three
// spare lives, so a count this high is damage, while the game may still give a few more.
constexpr double maxReplayRaceTime = 86400.0;
constexpr int maxReplayLives = 99;

// In the layout of header.formatVersion: a format-1 header leaves out what format 1 lacks.
std::string encodeReplayHeader(const ReplayHeader& header);
std::string encodeReplayRecord(const ReplayRecord& record);

// Why a file could not hold this header or frame (one short phrase), or "" when it can. The
// writer and the reader share these so that a recorded race is always one that plays.
std::string replayHeaderProblem(const ReplayHeader& header);
// Whether a header may name this course: at most 32 bytes of a-z, 0-9 and '-'.
bool isReplayCourseName(const std::string& course);
// Whether a header may name this simulation version: one this game runs.
bool isKnownSimulationVersion(uint64_t version);
std::string replayFrameProblem(double frameTime, const RaceInput& input);
// The same for a Check or End record.
std::string replayCheckProblem(const ReplayRecord& check);
