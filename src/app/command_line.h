#pragma once
// The program's command line: splitting, switches and item lists.
#include <functional>
#include <string>
#include <vector>

namespace tv {

// Splits as the system does for the program's parameters: blanks and control characters
// separate, double quotes group and are removed. The first entry is the program itself.
std::vector<std::wstring> SplitCommandLine(const std::wstring& commandLine);

// Switch positions: "/run" and "/run_admin" count first, "/runasadmin" and "/install" last
// (trimmed, exact case). "/ctmenu" counts anywhere and is handled by the intakes.
struct StartupSwitches {
    bool elevatedInstance = false;  // "/runasadmin" last
    bool replayMode = false;        // "/run" or "/run_admin" first
    bool installLast = false;       // "/install" last
};
StartupSwitches ReadSwitches(const std::vector<std::wstring>& params);

// True when "AlwaysRunAsAdmin" must restart the program elevated: the last parameter is none
// of "/runasadmin", "/ctmenu" and "/run_admin".
bool WantsElevationRestart(const std::vector<std::wstring>& params);

// An item list: every "*" ends an item; text after the last "*" is no item. At most 5000.
bool IsItemList(const std::wstring& text);
std::vector<std::wstring> SplitItemList(const std::wstring& text);

// What a second instance hands over, one line per item. "/ctmenu" replaces everything by the
// lines of the menu file (when it can be read) and ends the scan.
using MenuFileReader = std::function<bool(std::vector<std::wstring>& lines)>;
std::vector<std::wstring> HandOffLines(const std::vector<std::wstring>& params,
                                       const MenuFileReader& readMenuFile);

// One step of taking items into the shown record.
struct IntakeStep {
    enum class Kind {
        Item,      // a path, command line or address, already converted
        ListItem,  // the same, from an item list
        ListEnd,   // an item list is done
        Menu,      // "/ctmenu": take the lines of the menu file
    };
    Kind kind;
    std::wstring path;
    bool operator==(const IntakeStep& o) const { return kind == o.kind && path == o.path; }
};

// Converts one taken item: its command-line program path unless it is a web address.
std::wstring ConvertItem(const std::wstring& item);

// The items of a hand-off file: lists split and trimmed, "?|?" read as a blank, switches and
// empty items left out, each converted.
std::vector<IntakeStep> HandOffFileSteps(const std::vector<std::wstring>& fileLines);
// The items of this process's own parameters.
std::vector<IntakeStep> CommandLineSteps(const std::vector<std::wstring>& params);
// The lines of the menu file, taken as they are and converted.
std::vector<IntakeStep> MenuFileSteps(const std::vector<std::wstring>& fileLines);

// True when a converted item may enter a record: it holds no character a record file cannot
// carry (controls other than tab, CR and LF; U+FFFE, U+FFFF; half surrogate pairs).
bool CanEnterRecord(const std::wstring& item);
// The lines (of a hand-off or menu file, or parameters) that hold no such character, in order;
// the lines refused are added to `refused`. A refused list line is refused whole.
std::vector<std::wstring> WithoutUnwritableLines(const std::vector<std::wstring>& lines,
                                                 std::vector<std::wstring>& refused);
// The steps whose items may enter a record, in order; the items refused are added to `refused`.
// Converting can bring such characters in (an environment variable that holds one).
std::vector<IntakeStep> WithoutUnwritableItems(const std::vector<IntakeStep>& steps,
                                               std::vector<std::wstring>& refused);
// What the user is told of a refused item: the item, its bad characters shown as U+XXXX.
std::wstring RefusedItemMessage(const std::wstring& item);

}  // namespace tv
