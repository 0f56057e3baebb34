#include "platform/portable/memory_file_system.h"

#include <algorithm>
#include <cstring>

namespace platform {

MemoryFileSystem::MemoryFileSystem(const std::string& current_directory) {
  if (drive_rules::Resolve(current_directory, {}, current_directory_) == kNoError) {
    MakeDirectory(current_directory);
  }
}

std::string MemoryFileSystem::KeyOf(const drive_rules::Components& components, std::size_t n) {
  std::string key;
  for (std::size_t i = 0; i < n; ++i) {
    if (i > 0) {
      key += '\\';
    }
    key += drive_rules::Folded(components[i]);
  }
  return key;
}

MemoryFileSystem::Place MemoryFileSystem::Locate(const std::string& path) {
  Place place;
  drive_rules::Components components;
  place.error = drive_rules::Resolve(path, current_directory_, components);
  if (place.error != kNoError) {
    return place;
  }
  place.root = components.empty();
  if (place.root) {
    return place;
  }
  place.key = KeyOf(components, components.size());
  const std::string parent = KeyOf(components, components.size() - 1);
  const auto up = entries_.find(parent);
  place.parent_is_directory = parent.empty() || (up != entries_.end() && up->second.directory);
  const auto found = entries_.find(place.key);
  place.entry = found == entries_.end() ? nullptr : &found->second;
  return place;
}

MemoryFileSystem::Entry* MemoryFileSystem::FileAt(const std::string& path) {
  const Place place = Locate(path);
  return place.IsFile() ? place.entry : nullptr;
}

MemoryFileSystem::OpenFile* MemoryFileSystem::Handle(FileHandle handle) {
  if (handle < 1 || static_cast<std::size_t>(handle) > handles_.size()) {
    return nullptr;
  }
  OpenFile& file = handles_[static_cast<std::size_t>(handle) - 1];
  return file.bytes ? &file : nullptr;
}

std::shared_ptr<MemoryFileSystem::Bytes> MemoryFileSystem::NewFileBytes() {
  std::shared_ptr<Bytes> bytes = spare_ ? std::move(spare_) : std::make_shared<Bytes>();
  bytes->clear();
  // Room used before, or an address freed and handed out again: a new file has nothing flushed.
  flushed_.erase(bytes.get());
  return bytes;
}

bool MemoryFileSystem::Change() {
  if (!Alive()) {
    return false;
  }
  ++changes_;
  return Alive();
}

void MemoryFileSystem::MarkAllFlushed() {
  for (const auto& [key, entry] : entries_) {
    if (entry.bytes) {
      flushed_[entry.bytes.get()] = *entry.bytes;
    }
  }
}

void MemoryFileSystem::CrashAfter(int changes) {
  changes_ = 0;
  crash_after_ = changes;
}

void MemoryFileSystem::Restart(Crash crash) {
  handles_.clear();
  if (crash == Crash::kPowerCut) {
    for (auto& [key, entry] : entries_) {
      if (!entry.bytes) {
        continue;
      }
      const auto found = flushed_.find(entry.bytes.get());
      if (found == flushed_.end()) {
        entry.bytes->clear();
      } else {
        *entry.bytes = found->second;
      }
    }
  }
  crash_after_ = -1;
  changes_ = 0;
}

bool MemoryFileSystem::MakeDirectory(const std::string& path) {
  drive_rules::Components components;
  if (drive_rules::Resolve(path, current_directory_, components) != kNoError) {
    return false;
  }
  for (std::size_t n = 1; n <= components.size(); ++n) {
    Entry& entry = entries_[KeyOf(components, n)];
    if (entry.bytes) {
      return false;  // a file of that name is in the way
    }
    entry.directory = true;
  }
  return true;
}

ErrorCode MemoryFileSystem::Open(const std::string& path, Access access, Disposition disposition,
                                 FileHandle& handle) {
  handle = kNoHandle;
  if (!Alive() || (disposition == Disposition::kCreateAlways && !Change())) {
    return kErrorIoDevice;
  }
  Place place = Locate(path);
  if (place.error != kNoError) {
    return place.error;
  }
  if (place.root || (place.entry != nullptr && place.entry->directory)) {
    return kErrorAccessDenied;
  }
  if (place.entry == nullptr) {
    if (!place.parent_is_directory) {
      return kErrorPathNotFound;
    }
    if (disposition == Disposition::kOpenExisting) {
      return kErrorFileNotFound;
    }
    place.entry = &entries_[place.key];
    place.entry->bytes = NewFileBytes();
  } else {
    const ErrorCode refusal =
        drive_rules::OpenRefusal(place.entry->attributes, access, disposition);
    if (refusal != kNoError) {
      return refusal;
    }
  }
  if (disposition == Disposition::kCreateAlways) {
    // Truncated in place: handles already open on the file see it empty too.
    place.entry->bytes->clear();
    place.entry->attributes = drive_rules::kCreatedAttributes;
  }

  // The lowest free handle, as descriptors are handed out.
  auto free = std::find_if(handles_.begin(), handles_.end(),
                           [](const OpenFile& file) { return !file.bytes; });
  if (free == handles_.end()) {
    free = handles_.insert(free, OpenFile{});
  }
  free->bytes = place.entry->bytes;
  free->position = 0;
  free->readable = access != Access::kWrite;
  free->writable = access != Access::kRead;
  handle = static_cast<FileHandle>(free - handles_.begin()) + 1;
  return kNoError;
}

ErrorCode MemoryFileSystem::Read(FileHandle handle, void* buffer, std::uint32_t size,
                                 std::uint32_t& done) {
  done = 0;
  if (!Alive()) {
    return kErrorIoDevice;
  }
  OpenFile* file = Handle(handle);
  if (file == nullptr || !file->readable) {
    return kErrorInvalidHandle;
  }
  const Bytes& bytes = *file->bytes;
  if (file->position < bytes.size()) {
    done = static_cast<std::uint32_t>(std::min<std::uint64_t>(size, bytes.size() - file->position));
    std::memcpy(buffer, bytes.data() + file->position, done);
    file->position += done;
  }
  return kNoError;
}

ErrorCode MemoryFileSystem::Write(FileHandle handle, const void* buffer, std::uint32_t size,
                                  std::uint32_t& done) {
  done = 0;
  OpenFile* file = Handle(handle);
  if (file == nullptr || !file->writable) {
    return Alive() ? kErrorInvalidHandle : kErrorIoDevice;
  }
  if (!Change()) {
    return kErrorIoDevice;
  }
  if (size == 0) {
    return kNoError;
  }
  Bytes& bytes = *file->bytes;
  const auto* from = static_cast<const char*>(buffer);
  if (file->position == bytes.size()) {
    bytes.append(from, size);  // the common case: a file written from start to end
  } else {
    // A write past the end fills the gap with zero bytes, as on a host file.
    if (file->position > bytes.size()) {
      bytes.resize(file->position, '\0');
    }
    bytes.replace(file->position, std::min<std::uint64_t>(size, bytes.size() - file->position),
                  from, size);
  }
  file->position += size;
  done = size;
  return kNoError;
}

ErrorCode MemoryFileSystem::Size(FileHandle handle, std::uint64_t& size) {
  if (!Alive()) {
    return kErrorIoDevice;
  }
  const OpenFile* file = Handle(handle);
  if (file == nullptr) {
    return kErrorInvalidHandle;
  }
  size = file->bytes->size();
  return kNoError;
}

ErrorCode MemoryFileSystem::Seek(FileHandle handle, std::uint64_t offset) {
  if (!Alive()) {
    return kErrorIoDevice;
  }
  OpenFile* file = Handle(handle);
  if (file == nullptr) {
    return kErrorInvalidHandle;
  }
  file->position = offset;
  return kNoError;
}

ErrorCode MemoryFileSystem::Position(FileHandle handle, std::uint64_t& offset) {
  if (!Alive()) {
    return kErrorIoDevice;
  }
  const OpenFile* file = Handle(handle);
  if (file == nullptr) {
    return kErrorInvalidHandle;
  }
  offset = file->position;
  return kNoError;
}

ErrorCode MemoryFileSystem::Close(FileHandle handle) {
  if (!Alive()) {
    return kErrorIoDevice;
  }
  OpenFile* file = Handle(handle);
  if (file == nullptr) {
    return kErrorInvalidHandle;
  }
  file->bytes.reset();
  return kNoError;
}

ErrorCode MemoryFileSystem::Flush(FileHandle handle) {
  OpenFile* file = Handle(handle);
  if (file == nullptr) {
    return Alive() ? kErrorInvalidHandle : kErrorIoDevice;
  }
  if (!Change()) {
    return kErrorIoDevice;
  }
  flushed_[file->bytes.get()] = *file->bytes;
  return kNoError;
}

int MemoryFileSystem::OpenHandles() const {
  return static_cast<int>(std::count_if(handles_.begin(), handles_.end(), [](const OpenFile& file) {
    return file.bytes != nullptr;
  }));
}

bool MemoryFileSystem::FileExists(const std::string& path) {
  return Alive() && FileAt(path) != nullptr;
}

bool MemoryFileSystem::DeleteByName(const std::string& path) {
  const Place place = Locate(path);
  if (!place.IsFile() || !drive_rules::MayDelete(place.entry->attributes) || !Change()) {
    return false;
  }
  // Handles still open on the file keep its bytes; otherwise their room serves the next file.
  if (place.entry->bytes.use_count() == 1) {
    flushed_.erase(place.entry->bytes.get());
    spare_ = std::move(place.entry->bytes);
  }
  entries_.erase(place.key);
  return true;
}

bool MemoryFileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
  Entry* file = FileAt(path);
  if (file == nullptr || !Change()) {
    return false;
  }
  file->attributes = drive_rules::StoredAttributes(attributes);
  return true;
}

bool MemoryFileSystem::GetAttributes(const std::string& path, std::uint32_t& attributes) {
  const Entry* file = Alive() ? FileAt(path) : nullptr;
  if (file == nullptr) {
    return false;
  }
  attributes = drive_rules::ReportedAttributes(file->attributes);
  return true;
}

bool MemoryFileSystem::Rename(const std::string& from, const std::string& to) {
  const Place source = Locate(from);
  if (!source.IsFile()) {
    return false;
  }
  const Place target = Locate(to);
  // Never over an existing name, the file's own name in another letter case included.
  if (!target.InFolder() || target.entry != nullptr || !Change()) {
    return false;
  }
  auto moved = entries_.extract(source.key);
  moved.key() = target.key;
  entries_.insert(std::move(moved));
  return true;
}

bool MemoryFileSystem::CopyReplacing(const std::string& from, const std::string& to) {
  const Place source = Locate(from);
  if (!source.IsFile()) {
    return false;
  }
  Place target = Locate(to);
  if (!target.InFolder() || target.key == source.key) {
    return false;
  }
  if (target.entry != nullptr &&
      (target.entry->directory || !drive_rules::MayReplaceByCopy(target.entry->attributes))) {
    return false;
  }
  if (!Change()) {
    return false;
  }
  if (target.entry == nullptr) {
    target.entry = &entries_[target.key];
    target.entry->bytes = NewFileBytes();
  }
  // Replaced in place, like a copy over an existing host file.
  *target.entry->bytes = *source.entry->bytes;
  target.entry->attributes = drive_rules::CopiedAttributes(source.entry->attributes);
  return true;
}

bool MemoryFileSystem::ReplaceAtomically(const std::string& from, const std::string& to) {
  if (!atomic_replace_) {
    return false;
  }
  const Place source = Locate(from);
  const Place target = Locate(to);
  // As MoveFileExA with MOVEFILE_REPLACE_EXISTING: over a file that may be written.
  if (!source.IsFile() || !target.IsFile() || target.key == source.key ||
      (target.entry->attributes & kAttributeReadOnly) != 0 || !Change()) {
    return false;
  }
  std::shared_ptr<Bytes> replaced = std::move(target.entry->bytes);
  if (replaced.use_count() == 1) {
    flushed_.erase(replaced.get());
  }
  entries_.erase(target.key);
  auto moved = entries_.extract(source.key);
  moved.key() = target.key;
  entries_.insert(std::move(moved));
  return true;
}

}  // namespace platform
