#pragma once
// Every fixed text the main window shows. Several lines end in a blank; keep them.

namespace texts {

inline constexpr char kCaption[] = "Corvane   v1.8.3  -  free software by the Corvane developers";

inline constexpr char kIntroduction[] =
    "This program is intended to help package up all the\n"
    "multimedia files referenced in a .PAF file (along with\n"
    "the .PAF file) so that it can all be shared together.\n"
    "\n"
    "Choose File > Open, or one of your recent PAF files in the\n"
    "File menu, to start. Close PAF first: Corvane updates the\n"
    "links inside the .PAF file itself.\n";

inline constexpr char kSelfExtracting[] =
    "This program will produce either:\n"
    "1) a zip archive that includes the PAF file\n"
    "  and all the multimedia files referenced \n"
    "  therein.\n"
    "or\n"
    "2) a self extracting archive containing the \n"
    "  same information as the zip file.\n"
    "\n"
    "A self extracting archive is basically a zip\n"
    "archive strapped on the back of an unzip \n"
    "program.\n"
    "\n"
    "If the person recieving the data doesn't have\n"
    "an appropriate unzip tool and an understanding \n"
    "of how to use it they might end up treating a\n"
    "zip archive as if it were just a PAF backup.\n"
    "That would not unpack the multimedia files.\n"
    "If you send a self extracting archive\n"
    "there will be no ambiguity about which program\n"
    "should handle the unpacking.  All the files \n"
    "will be unpacked.";

inline constexpr char kAboutCaption[] = "About Corvane";
inline constexpr char kAbout[] =
    "Corvane is a program to help PAF5 users\n"
    "share there data along with any multimedia \n"
    "elements they may have referenced in their database.\n"
    "\n"
    "Corvane is free software, written and maintained by the\n"
    "Corvane developers.\n"
    "New editions come from the same place you got this one.\n"
    "\n"
    "The software that does the actual compression and \n"
    "decompression is generously provided by volunteers at \n"
    "the Info-ZIP project.";

inline constexpr char kRecentFilesKey[] =
    "\\Software\\LDS Church\\FamilySearch\\Personal Ancestral File 5\\Recent File List";

inline constexpr char kOpenFilter[] = "PAF Files|*.paf|GEDCOM|*.ged";
inline constexpr char kOpenTitle[] = "PAF File Open";

// The packing run.
inline constexpr char kDatabaseError[] =
    "An error has occurred.\n"
    "It could be one of several things:\n"
    "\n"
    "1- You have this same datafile still open in PAF.\n"
    "    (You need to shut down PAF before you run\n"
    "      this program.)\n"
    "2- This is an empty data file - no individuals added yet.\n"
    "           or\n"
    "3- Your file is corrupted.  Try PAFs Error Check/Correction";
inline constexpr char kNoneFound[] = " -- none found -- ";
inline constexpr char kNothingToDo[] =
    "There were no multi-media files found.\nThere is nothing more for this program to do.";
inline constexpr char kNotFoundHeading[] = "The following multimedia files were\nnot found.\n\n";
inline constexpr char kFoundFilesHeading[] = "Found Files ======================\n";
inline constexpr char kMissingFilesHeading[] = "Missing Files =====================\n";
// A write to the database failed (a full or failing disk): the path of the file stands between
// the two parts.
inline constexpr char kWriteFailedStart[] = "Corvane could not write to the database file\n";
inline constexpr char kWriteFailedEnd[] =
    "\n\nThe disk may be full, or failing.\n"
    "\n"
    "The links repaired before this happened are saved.\n"
    "Nothing more was changed in the file, and no archive\n"
    "was made. Make room on the disk, or copy the file\n"
    "to another disk, then run Corvane again.";
inline constexpr char kOutsideStart[] =
    "There is at least one multi-media file referenced\nin this database which isn't in ";
inline constexpr char kOutsideMiddle[] = "\nor a folder that is subordinate to ";
inline constexpr char kOutsideEnd[] =
    "\n\nArranging to have things unpack correctly\n"
    "is too difficult for most users.  So we won't\n"
    "pack these kinds of situations.  Move or Copy\n"
    "The problem files to a subordinate location \n"
    "then try packing them again.\n"
    "\n"
    "The next version of Corvane will help\n"
    "you move them.\n"
    "Corvane's documentation explains how to move media files safely.";

}  // namespace texts
