#pragma once

// The texts the windows show: captions, menu items, messages and file
// dialog filters, as bytes in the system's 8-bit code page. An ampersand
// in a button or menu caption marks the key that presses it.
namespace korv::behaviour::text {

// The application title: the taskbar label, the main window's caption and
// the caption of the error box and of plain messages.
inline constexpr const char* kApplicationTitle = "Korvane";

// Main window.
inline constexpr const char* kFilesGroup = "Files";
inline constexpr const char* kFindLabel = "Find:";
inline constexpr const char* kReplaceLabel = "Replace to:";
inline constexpr const char* kRunButton = "Replace All &Now";
inline constexpr const char* kShowOptions = "Show Advanced &Options >>>>>";
inline constexpr const char* kHideOptions = "<<<<< Hide Advanced &Options";

// Menus.
inline constexpr const char* kHelpMenu = "Help";
inline constexpr const char* kVersionHistoryItem = "Version History";
inline constexpr const char* kAboutItem = "About...";
inline constexpr const char* kLoadListItem = "Load filename list...";
inline constexpr const char* kSaveListItem = "Save filename list as...";
inline constexpr const char* kAddFilesItem = "Add File(s)...";
inline constexpr const char* kDeleteSelectedItem = "Delete Selected...";
// Shown beside "Delete Selected..." only; the list handles the key itself.
inline constexpr const char* kDeleteSelectedShortcut = "Del";
inline constexpr const char* kDeleteAllItem = "Delete All...";

// File list.
inline constexpr const char* kPlaceholderEntry = "No files added";
inline constexpr const char* kAllFilesFilter = "All Files (*.*)|*.*";
inline constexpr const char* kFilenameListFilter =
    "Filename Lists (*.list)|*.list|All Files (*.*)|*.*";
inline constexpr const char* kFilenameListExt = "list";
inline constexpr const char* kConfirmationCaption = "Confirmation";
// Asked below the reason when a run's undo journal cannot be kept.
inline constexpr const char* kReplaceWithoutUndo =
    "Replace all the same, without a way to undo the run?";
inline constexpr const char* kErrorCaption = "Error";
inline constexpr const char* kAskDeleteSelected =
    "Do you want to delete the selected item(s) from the file list?";
inline constexpr const char* kAskDeleteAll =
    "Do you want to delete all item(s) from the file list?";
// A dropped path that could not be added: this, the path in double
// quotation marks, a full stop.
inline constexpr const char* kCannotAddDropped = "Korvane couldn't open the file ";
// Asked before a drop adds many entries: these two around their number.
inline constexpr const char* kAskAddDropped = "Do you want to add ";
inline constexpr const char* kAskAddDroppedEnd = " files to the file list?";

// The error box for an error that is not a standard exception.
inline constexpr const char* kUnknownError = "Unknown error";

// Options panel.
inline constexpr const char* kPanelCaption = " ";
inline constexpr const char* kCaseSensitive = "Case sensitive";
inline constexpr const char* kBackUp = "Back up changed files";
inline constexpr const char* kDynamicVariables = "Use dynamic variables";
inline constexpr const char* kHelpLink = "Help";

// Results dialog. Labels show their text as it stands, no key marked.
inline constexpr const char* kResultsCaption = "Results...";
inline constexpr const char* kFinished = "Find and replace successfully finished.";
inline constexpr const char* kFilesSearched = "Files searched:";
inline constexpr const char* kFilesReplaced = "Files found & replaced:";
inline constexpr const char* kShowLog = "&Show LOG file";
inline constexpr const char* kOk = "&OK";

// About box.
inline constexpr const char* kAboutCaption = "About Korvane";
inline constexpr const char* kWebSiteLabel = "Web Site:";
inline constexpr const char* kEmailLabel = "E-mail:";
inline constexpr const char* kLicence = "See license.txt for distribution";
// The e-mail link's hint: this and the address.
inline constexpr const char* kMailHint = "Mailto ";

}  // namespace korv::behaviour::text
