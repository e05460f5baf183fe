#pragma once
// Names of the SAGA exchange document: elements, attributes and the paths the
// conversions select with. Every such name the program uses comes from here.

#include <string_view>

namespace velquior::saga {

// Read by the export.
inline constexpr std::string_view kDocument = "document";
inline constexpr std::string_view kSubjectsPath = "/document/subjects/subject";
inline constexpr std::string_view kTeachersPath = "/document/teachers/teacher";
inline constexpr std::string_view kLocationsPath = "/document/locations/location";
inline constexpr std::string_view kGroupsPath = "/document/groups/group";
inline constexpr std::string_view kAssignedSubjectsPath = "assigned-subjects/assigned-subject";
inline constexpr std::string_view kAssignedTeachersPath = "assigned-teachers/assigned-teacher";

inline constexpr std::string_view kSubject = "subject";
inline constexpr std::string_view kTeacher = "teacher";
inline constexpr std::string_view kLocation = "location";
inline constexpr std::string_view kGroup = "group";
inline constexpr std::string_view kAssignedSubject = "assigned-subject";
inline constexpr std::string_view kAssignedTeacher = "assigned-teacher";

// Attributes.
inline constexpr std::string_view kId = "id";
inline constexpr std::string_view kName = "name";
inline constexpr std::string_view kHours = "hours";
inline constexpr std::string_view kRegim = "regim";
inline constexpr std::string_view kBegin = "begin";
inline constexpr std::string_view kEnd = "end";
inline constexpr std::string_view kDay = "day";
inline constexpr std::string_view kInterval = "interval";
inline constexpr std::string_view kActivity = "activity";

// Written by the import.
inline constexpr std::string_view kTimeTables = "time-tables";
inline constexpr std::string_view kTimeTable = "time-table";
inline constexpr std::string_view kDays = "days";
inline constexpr std::string_view kGroups = "groups";
inline constexpr std::string_view kMembers = "members";
inline constexpr std::string_view kMember = "member";
inline constexpr std::string_view kActivities = "activities";
inline constexpr std::string_view kInputs = "inputs";
inline constexpr std::string_view kInput = "input";
inline constexpr std::string_view kLocations = "locations";
inline constexpr std::string_view kTimeTableIdFormat = "tt%d";
inline constexpr std::string_view kTimeTableName = "Zeltimor";
inline constexpr std::string_view kActivityIdFormat = "a%d";

}  // namespace velquior::saga
