// A FileSystem for tests of error paths: it forwards every call to another backend, counts and
// logs the calls, and makes chosen ones fail instead of running them. A failing call that
// returns an error code returns the chosen code; one that returns bool returns false.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace testing_support {

class FaultFileSystem : public platform::FileSystem {
 public:
  explicit FaultFileSystem(platform::FileSystem& inner) : inner_(inner) {}

  // Call number n (1-based, over all operations) fails with `code`; 0 lets every call run.
  void FailCall(int n, platform::ErrorCode code = platform::kErrorIoDevice) {
    fail_at_ = n;
    code_ = code;
  }
  // Every call of the operation (named as in the log, such as "Rename") on a path that equals
  // `path` without letter case fails; an empty path matches every path.
  void FailOperation(const std::string& operation, const std::string& path = "") {
    fail_operation_ = operation;
    fail_path_ = path;
  }
  // The n-th call (1-based, counted from now) of one operation fails with `code`; calls of
  // other operations are not counted. This is the loop of the fault-injection tests: n = 1, 2, ...
  // until a run no longer reaches the n-th call.
  void FailNth(const std::string& operation, int n, platform::ErrorCode code) {
    nth_operation_ = operation;
    nth_ = n;
    nth_seen_ = 0;
    nth_index_ = -1;
    code_ = code;
  }
  // From now on the call chosen by FailNth is not counted any more: the steps after the operation
  // under test run without it.
  void StopCountingNth() { nth_operation_.clear(); }
  // Whether the run reached the call chosen by FailNth, and which entry of the log it is.
  bool nth_reached() const { return nth_index_ >= 0; }
  int nth_index() const { return nth_index_; }
  std::string nth_call() const { return nth_reached() ? log_[nth_index_] : "none"; }
  // Every Write stores one byte fewer than asked, as on a full disk.
  void ShortWrites(bool on) { short_writes_ = on; }
  // The n-th Read from now (1-based) returns one byte fewer than asked, though more follow.
  void ShortReadNth(int n) {
    short_read_at_ = n;
    reads_seen_ = 0;
  }

  int calls() const { return calls_; }
  // One entry per call: the operation and, for calls by name, the path ("Open c:\Msdos.sys").
  const std::vector<std::string>& log() const { return log_; }

  platform::ErrorCode Open(const std::string& path, platform::Access access,
                           platform::Disposition disposition,
                           platform::FileHandle& handle) override {
    handle = platform::kNoHandle;
    if (Fails("Open", path)) return code_;
    return inner_.Open(path, access, disposition, handle);
  }
  platform::ErrorCode Read(platform::FileHandle handle, void* buffer, std::uint32_t size,
                           std::uint32_t& done) override {
    done = 0;
    if (Fails("Read")) return code_;
    if (++reads_seen_ == short_read_at_ && size > 0) {
      --size;
    }
    return inner_.Read(handle, buffer, size, done);
  }
  platform::ErrorCode Write(platform::FileHandle handle, const void* buffer, std::uint32_t size,
                            std::uint32_t& done) override {
    done = 0;
    if (Fails("Write")) return code_;
    if (short_writes_ && size > 0) --size;
    return inner_.Write(handle, buffer, size, done);
  }
  platform::ErrorCode Size(platform::FileHandle handle, std::uint64_t& size) override {
    if (Fails("Size")) return code_;
    return inner_.Size(handle, size);
  }
  platform::ErrorCode Seek(platform::FileHandle handle, std::uint64_t offset) override {
    if (Fails("Seek")) return code_;
    return inner_.Seek(handle, offset);
  }
  platform::ErrorCode Position(platform::FileHandle handle, std::uint64_t& offset) override {
    if (Fails("Position")) return code_;
    return inner_.Position(handle, offset);
  }
  // A failed close still closes, so that no handle outlives the test.
  platform::ErrorCode Close(platform::FileHandle handle) override {
    const bool fails = Fails("Close");
    const platform::ErrorCode closed = inner_.Close(handle);
    return fails ? code_ : closed;
  }

  platform::ErrorCode Flush(platform::FileHandle handle) override {
    if (Fails("Flush")) return code_;
    return inner_.Flush(handle);
  }

  bool FileExists(const std::string& path) override {
    return !Fails("FileExists", path) && inner_.FileExists(path);
  }
  bool DeleteByName(const std::string& path) override {
    return !Fails("DeleteByName", path) && inner_.DeleteByName(path);
  }
  platform::ErrorCode Erase(const std::string& path) override {
    if (Fails("Erase", path)) return code_;
    return inner_.Erase(path);
  }
  bool SetAttributes(const std::string& path, std::uint32_t attributes) override {
    return !Fails("SetAttributes", path) && inner_.SetAttributes(path, attributes);
  }
  bool GetAttributes(const std::string& path, std::uint32_t& attributes) override {
    return !Fails("GetAttributes", path) && inner_.GetAttributes(path, attributes);
  }
  bool Rename(const std::string& from, const std::string& to) override {
    return !Fails("Rename", from) && inner_.Rename(from, to);
  }
  bool CopyReplacing(const std::string& from, const std::string& to) override {
    return !Fails("CopyReplacing", from) && inner_.CopyReplacing(from, to);
  }
  bool ReplaceAtomically(const std::string& from, const std::string& to) override {
    return !Fails("ReplaceAtomically", from) && inner_.ReplaceAtomically(from, to);
  }

 private:
  static std::string Folded(std::string text) {
    for (char& c : text) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
  }

  bool Fails(const std::string& operation, const std::string& path = "") {
    ++calls_;
    log_.push_back(path.empty() ? operation : operation + " " + path);
    if (operation == nth_operation_ && ++nth_seen_ == nth_) {
      nth_index_ = calls_ - 1;
      return true;
    }
    if (calls_ == fail_at_) return true;
    return operation == fail_operation_ &&
           (fail_path_.empty() || Folded(path) == Folded(fail_path_));
  }

  platform::FileSystem& inner_;
  int fail_at_ = 0;
  platform::ErrorCode code_ = platform::kErrorIoDevice;
  std::string fail_operation_;
  std::string fail_path_;
  std::string nth_operation_;
  int nth_ = 0;
  int nth_seen_ = 0;
  int nth_index_ = -1;
  bool short_writes_ = false;
  int short_read_at_ = 0;
  int reads_seen_ = 0;
  int calls_ = 0;
  std::vector<std::string> log_;
};

}  // namespace testing_support
