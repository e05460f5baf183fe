#pragma once
// What a conversion driver asks of its front end: the few things only a
// window (or the command line standing in for it) can do. The drivers never
// touch a GUI; the window and the command-line converter implement this.

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace velquior {

// An element of the SAGA document that lacked an item the export reads; the
// export still writes its record (with the empty text for the item).
struct MissingItem {
  std::string_view element;  // "subject", "teacher", ...
  long position;             // 1-based, in document order among its kind
  std::string what;          // UTF-8: "el atributo 'id'", "el primer nodo hijo"
};

class FrontEnd {
 public:
  virtual ~FrontEnd() = default;

  // The file dialog. `last` is the name chosen before (possibly empty).
  // Returns the chosen name, or nullopt when the user cancels.
  virtual std::optional<std::filesystem::path> ChooseXmlFile(const std::filesystem::path& last) = 0;
  // A plain, modal message ("Proceso finalizado", "No existe archivo"). UTF-8.
  virtual void ShowMessage(std::string_view utf8_text) = 0;
  virtual void SetBusyCursor(bool busy) = 0;
  virtual void DisableConversionButtons() = 0;
  virtual void CloseMainWindow() = 0;

  // Information for front ends that can show it; the window ignores it.
  virtual void ReportMissingItem(const MissingItem& /*item*/) {}
  virtual void ReportTablesWritten(std::span<const std::string> /*file_names*/) {}
};

// Shows the busy cursor for its lifetime, also when the run ends in an error.
class BusyCursor {
 public:
  explicit BusyCursor(FrontEnd& fe) : fe_(fe) { fe_.SetBusyCursor(true); }
  ~BusyCursor() { fe_.SetBusyCursor(false); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
 private:
  FrontEnd& fe_;
};

}  // namespace velquior
