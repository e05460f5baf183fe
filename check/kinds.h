#pragma once
// The stable names of the findings, one per kind, as scripts see them in the
// JSON report. A name, once given, never changes meaning.

#include <string_view>

namespace velquior::check::kinds {

// Export side, from the document.
inline constexpr std::string_view kMissingItem = "missing_item";              // warning
inline constexpr std::string_view kDuplicateId = "duplicate_id";              // warning
inline constexpr std::string_view kUnknownAssignedId = "unknown_assigned_id";  // warning
inline constexpr std::string_view kHomonymCounter = "homonym_counter";        // note
inline constexpr std::string_view kCutCode = "cut_code";                      // note

// What a new export would change in the work directory's tables.
inline constexpr std::string_view kRecordAdded = "record_added";      // note
inline constexpr std::string_view kRecordRemoved = "record_removed";  // note
inline constexpr std::string_view kCodeChanged = "code_changed";      // note
inline constexpr std::string_view kNameChanged = "name_changed";      // note
// A code the current SOLUC uses that the export would change or remove.
inline constexpr std::string_view kTimetableCodeChanged = "timetable_code_changed";  // warning
// A table of the work directory that cannot be read: not compared, and an
// export keeps none of its codes.
inline constexpr std::string_view kTableUnreadable = "table_unreadable";  // warning
// With --keep-codes: an element whose identifier has a code in the work
// directory but which cannot keep it (a tie), and why.
inline constexpr std::string_view kCodeNotKept = "code_not_kept";  // warning

// Import side, from SOLUC and the catalogues.
inline constexpr std::string_view kUnknownSubjectCode = "unknown_subject_code";  // error
inline constexpr std::string_view kCodeWithoutRecord = "code_without_record";    // warning
inline constexpr std::string_view kEmptyIdSaga = "empty_idsaga";                 // warning
inline constexpr std::string_view kDayOutOfRange = "day_out_of_range";           // warning: the input names no day
inline constexpr std::string_view kHourNotInDays = "hour_not_in_days";           // warning: nor an interval
inline constexpr std::string_view kNotANumber = "not_a_number";                  // error
inline constexpr std::string_view kUnknownSagaId = "unknown_saga_id";            // warning

}  // namespace velquior::check::kinds
