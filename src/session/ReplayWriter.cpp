#include "session/ReplayWriter.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <system_error>

#include <unistd.h>

#include "platform/WholeFile.h"
#include "session/ReplayFormat.h"

ReplayWriter::~ReplayWriter() {
    close();
}

bool ReplayWriter::open(const std::string& path, const ReplayHeader& header) {
    close();
    finalPath = path;
    partPath = path + ".part";
    recordCount = 0;
    stopped = false;

    if (path.empty()) {
        warn("not recorded: no file to record to");
        return false;
    }
    std::string problem = replayHeaderProblem(header);
    if (!problem.empty()) {
        warn("not recorded: " + problem);
        return false;
    }
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    std::error_code error;
    if (!folder.empty() && !std::filesystem::is_directory(folder, error)) {
        std::filesystem::create_directories(folder, error);
        if (error) {
            warn("not recorded: cannot create folder \"" + folder.string() + "\" (" +
                 error.message() + ")");
            return false;
        }
    }
    file = std::fopen(partPath.c_str(), "wb");
    if (file == nullptr) {
        warn("not recorded: cannot write \"" + partPath + "\" (" + std::strerror(errno) + ")");
        return false;
    }
    return write(encodeReplayHeader(header));
}

void ReplayWriter::frame(double frameTime, const RaceInput& input) {
    if (!isRecording() || stopped)
        return;
    std::string problem = replayFrameProblem(frameTime, input);
    if (!problem.empty()) {
        stopped = true;
        warn("stops after " + std::to_string(recordCount) + " records: " + problem);
        return;
    }
    ReplayRecord record;
    record.frameTime = frameTime;
    record.input = input;
    append(record);
}

void ReplayWriter::pause() {
    ReplayRecord record;
    record.kind = ReplayRecord::Kind::Pause;
    append(record);
}

void ReplayWriter::resume() {
    ReplayRecord record;
    record.kind = ReplayRecord::Kind::Resume;
    append(record);
}

void ReplayWriter::playAgain() {
    ReplayRecord record;
    record.kind = ReplayRecord::Kind::PlayAgain;
    append(record);
}

void ReplayWriter::check(const ReplayRecord& check) {
    if (!isRecording() || stopped)
        return;
    std::string problem = replayCheckProblem(check);
    if (!problem.empty()) {
        stopped = true;
        warn("stops after " + std::to_string(recordCount) + " records: " + problem);
        return;
    }
    append(check);
}

bool ReplayWriter::finish() {
    if (!isRecording())
        return false;
    // On disk before the rename, so that even a power cut cannot leave the final name
    // pointing at a file whose bytes never arrived.
    int failure = ::fsync(::fileno(file)) == 0 ? 0 : errno;
    if (std::fclose(file) != 0 && failure == 0)
        failure = errno;
    file = nullptr;
    if (failure != 0) {
        warn("not saved: cannot write \"" + partPath + "\" (" + std::strerror(failure) + ")");
        return false;
    }
    const std::string problem = moveFile(partPath, finalPath);
    if (!problem.empty()) {
        warn("not saved: cannot rename \"" + partPath + "\" onto it (" + problem + ")");
        return false;
    }
    return true;
}

bool ReplayWriter::writeWhole(const std::string& path, const Replay& replay) {
    ReplayWriter writer;
    if (!writer.open(path, replay.header))
        return false;
    for (const ReplayRecord& record : replay.records) {
        switch (record.kind) {
        case ReplayRecord::Kind::Frame:
            writer.frame(record.frameTime, record.input);
            break;
        case ReplayRecord::Kind::Check:
        case ReplayRecord::Kind::End:
            writer.check(record);
            break;
        default:
            writer.append(record);
            break;
        }
    }
    // A replay cut short by a record it could not hold is not the replay asked for.
    if (writer.stopped) {
        writer.close();
        removeFile(writer.partPath);
        return false;
    }
    return writer.finish();
}

void ReplayWriter::append(const ReplayRecord& record) {
    if (!isRecording() || stopped)
        return;
    if (recordCount == maxReplayRecords) {
        stopped = true;
        warn("stops after " + std::to_string(recordCount) + " records, the most a replay holds");
        return;
    }
    if (write(encodeReplayRecord(record)))
        recordCount += 1;
}

bool ReplayWriter::write(const std::string& bytes) {
    if (std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0)
        return true;
    warn("stops: cannot write \"" + partPath + "\" (" + std::strerror(errno) + ")");
    close();
    return false;
}

void ReplayWriter::discard() {
    if (!file)
        return;
    close();
    removeFile(partPath);
}

void ReplayWriter::close() {
    if (file != nullptr)
        std::fclose(file);
    file = nullptr;
}

void ReplayWriter::warn(const std::string& what) const {
    std::cerr << "Replay \"" << finalPath << "\" " << what << std::endl;
}
