#pragma once
// The history of replaced files: one entry per run, each a folder holding
// copies of the files the run replaced and its manifest (history/entry.h).
// An entry is written into a hidden folder and renamed into place once
// complete, so a killed run leaves a whole entry or none; a hidden folder
// whose run is gone is removed by the next entry written.

#include <cstddef>
#include <utility>
#include <filesystem>
#include <span>
#include <vector>

#include "history/entry.h"
#include "platform/open_file.h"

namespace velquior::history {

// A file to keep: its full name and, when the caller holds it locked, the
// handle to read it through.
struct Source {
  std::filesystem::path path;
  const platform::OpenFile* open = nullptr;
};

inline constexpr std::size_t kEntriesKept = 30;

class Store {
 public:
  explicit Store(std::filesystem::path folder) : folder_(std::move(folder)) {}

  // $XDG_DATA_HOME/velquior/historial (else ~/.local/share/...), or
  // %LOCALAPPDATA%\Velquior\historial; empty when the system does not say.
  static std::filesystem::path DefaultFolder();

  const std::filesystem::path& folder() const { return folder_; }

  // The complete entries, newest first. An entry whose manifest cannot be
  // read is left out.
  std::vector<Entry> List() const;

  // Keeps a copy of every file of `files` (one that does not exist is noted
  // as such) as the newest entry, made readable by the user alone. Raises
  // Error saying why and how to go on without history when it cannot; then
  // nothing of the entry stays.
  Entry Record(Kind kind, const std::filesystem::path& document, const std::filesystem::path& work_dir,
               std::span<const Source> files);

  // Removes the entry's folder; best effort.
  void Remove(const Entry& entry) const;

  // Removes the oldest entries beyond `keep`.
  void Prune(std::size_t keep = kEntriesKept) const;

 private:
  std::filesystem::path folder_;
};

// An entry kept for a run that has not replaced anything yet: removed again
// unless the run reaches Keep(), since it would only repeat the present.
// A run whose replacement failed half-way keeps it.
class PendingEntry {
 public:
  PendingEntry() = default;
  PendingEntry(const Store& store, Entry entry) : store_(&store), entry_(std::move(entry)) {}
  PendingEntry(PendingEntry&& other) noexcept : store_(std::exchange(other.store_, nullptr)), entry_(other.entry_) {}
  PendingEntry& operator=(PendingEntry&&) = delete;
  ~PendingEntry() {
    if (store_ != nullptr) store_->Remove(entry_);
  }
  // The run replaced the files: the entry stays, and the oldest beyond the
  // history's length go.
  void Keep() {
    if (store_ != nullptr) store_->Prune();
    store_ = nullptr;
  }

 private:
  const Store* store_ = nullptr;
  Entry entry_;
};

}  // namespace velquior::history
