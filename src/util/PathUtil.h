// Joining and splitting paths, file tests and small file operations. Paths use the backslash and are at
// most MAX_PATH characters.
#pragma once

#include "platform/mfc/afxstr.h"

// Folder and name joined by exactly the backslash the folder lacks; either part may be empty.
CString CombinePath(LPCTSTR lpszFolder, LPCTSTR lpszName);

BOOL FileExists(LPCTSTR lpszPath);
BOOL IsDirectory(LPCTSTR lpszPath);
// TRUE when both paths reach the same existing file or folder, by whatever names (a short name, another drive
// letter, the "\\?\" form): the file system's volume serial number and file index are compared.
BOOL IsSameFile(LPCTSTR lpszPath1, LPCTSTR lpszPath2);
// TRUE when the name holds none of the characters a file name may not hold (an empty name is valid).
BOOL IsValidFileName(LPCTSTR lpszName);

// Drive and folder without the trailing backslash, but for the root: C:\x.mdb gives C:\, x.mdb "".
CString GetPathDir(LPCTSTR lpszPath);
CString GetPathFileName(LPCTSTR lpszPath);      // name and extension
CString GetPathFileTitle(LPCTSTR lpszPath);     // name without extension
CString GetPathExtension(LPCTSTR lpszPath);     // extension without its dot
CString GetFileDisplayTitle(LPCTSTR lpszPath);  // as the shell shows the file; empty when it cannot
// The extension may be given with or without its dot; an empty one removes the extension.
void ReplaceExtension(CString& strPath, LPCTSTR lpszExtension);

CString GetFullPath(LPCTSTR lpszPath);
// The shell's relative path from a folder to a path ("..\x", ".\x"); empty when there is none (other drive).
CString GetRelativePath(LPCTSTR lpszFromFolder, LPCTSTR lpszTo, BOOL bToIsFolder, BOOL bDropLeadingBackslash);

// FALSE when the attributes cannot be read.
BOOL IsReadOnly(LPCTSTR lpszPath);
BOOL SetReadOnly(LPCTSTR lpszPath, BOOL bReadOnly);
// Moves a file that may be read-only; the target keeps the source's read-only attribute.
BOOL MoveFileKeepAttr(LPCTSTR lpszFrom, LPCTSTR lpszTo);

// A new empty file with a unique name in the folder (the system's temporary folder when null or empty);
// empty when it cannot be created.
CString GetTempFileName(LPCTSTR lpszFolder, LPCTSTR lpszPrefix);
// A name without extension, starting with the prefix, that no file of the folder has; the folder is
// created when missing. Empty when the folder cannot be created or written.
CString MakeUniqueFileName(LPCTSTR lpszFolder, LPCTSTR lpszPrefix);
// The candidate when no file has its name, else the first free "<candidate>_00", "<candidate>_01", ...
CString GetFreeFileName(LPCTSTR lpszCandidate);
// Creates every missing folder of the path; TRUE when the folder exists afterwards.
BOOL EnsureFolder(LPCTSTR lpszFolder);

// The path as the shell's desktop folder understands it, back in file-system form; unchanged when the
// shell cannot resolve it.
CString ResolveShellPath(LPCTSTR lpszPath);
// Folder of the running program file.
CString GetModuleDir();
// A shell link to the target (COM must be initialised).
BOOL CreateShortcut(LPCTSTR lpszLinkFile, LPCTSTR lpszTarget, LPCTSTR lpszDescription);
