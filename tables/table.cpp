// The table handle's public face; its state and parts are in table_impl.h.

#include "tables/table.h"

#include "common/files.h"
#include "tables/table_impl.h"

namespace velquior::tables {
namespace fs = std::filesystem;
namespace {

std::string UpperAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return out;
}

// "soluc", "SOLUC.DBF" and "soluc.dbf" all name SOLUC.DBF.
std::string DataFileName(std::string_view name) {
  constexpr std::string_view kExt = ".DBF";
  if (name.size() >= kExt.size() && EqualsNoCaseAscii(name.substr(name.size() - kExt.size()), kExt)) {
    name.remove_suffix(kExt.size());
  }
  return UpperAscii(name) + std::string(kExt);
}

}  // namespace

Table::Table(fs::path dir, std::string_view name, std::string component) : impl_(std::make_unique<Impl>()) {
  impl_->dir = std::move(dir);
  impl_->file_name = DataFileName(name);
  impl_->component = std::move(component);
}

Table::~Table() {
  if (!impl_) return;
  try {
    impl_->Close();
  } catch (...) {  // a destructor cannot report; Close() does
  }
}

void Table::ClearFields() { impl_->defs.clear(); }

void Table::AddField(const FieldDef& field) {
  impl_->defs.push_back({std::string(field.name), field.type, field.width});
}

void Table::CreateTable() { impl_->CreateTable(); }
void Table::Open() { impl_->Open(); }
void Table::Close() { impl_->Close(); }
bool Table::Active() const { return impl_->active; }
void Table::Append() { impl_->Append(); }
void Table::SetText(std::string_view field, std::string_view ansi_value) { impl_->SetText(field, ansi_value); }
void Table::SetFloat(std::string_view field, double value) { impl_->SetFloat(field, value); }
void Table::Post() { impl_->Post(); }

void Table::First() {
  impl_->CheckActive();
  impl_->LeavePending();
  impl_->cursor = 0;
  impl_->eof = impl_->live.empty();
}

void Table::Next() {
  impl_->CheckActive();
  impl_->LeavePending();
  if (impl_->cursor + 1 < impl_->live.size()) {
    ++impl_->cursor;
    impl_->eof = false;
  } else {
    impl_->eof = true;
  }
}

bool Table::Eof() const { return !impl_->active || impl_->eof; }

std::string Table::AsText(std::string_view field) const { return impl_->AsText(field); }

std::int32_t Table::AsInteger(std::string_view field) const { return impl_->AsInteger(field); }
double Table::AsFloat(std::string_view field) const { return impl_->AsFloat(field); }

Value Table::AsValue(std::string_view field) const {
  const std::size_t i = impl_->FieldIndex(field);
  return impl_->Decode(i);
}

const std::vector<FieldInfo>& Table::Fields() const {
  static const std::vector<FieldInfo> kNone;
  return impl_->active ? impl_->infos : kNone;
}

std::size_t Table::RecordNumber() const {
  if (!impl_->active || impl_->appending || impl_->live.empty()) return 0;
  return static_cast<std::size_t>(impl_->live[impl_->cursor]) + 1;
}

std::size_t Table::RecordCount() const { return impl_->active ? impl_->live.size() : 0; }
std::string Table::FileName() const { return impl_->file_name; }
const fs::path& Table::Directory() const { return impl_->dir; }

}  // namespace velquior::tables
