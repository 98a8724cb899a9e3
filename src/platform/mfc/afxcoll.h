// The framework's ready-made collections, as thin classes over the templates of afxtempl.h.
#pragma once

#include "afxtempl.h"

class CStringArray : public CArray<CString, const CString&> {};
class CPtrArray : public CArray<void*, void*> {};
class CObArray : public CArray<CObject*, CObject*> {};
class CDWordArray : public CArray<DWORD, DWORD> {};
class CWordArray : public CArray<WORD, WORD> {};
class CByteArray : public CArray<BYTE, BYTE> {};
class CUIntArray : public CArray<UINT, UINT> {};

class CStringList : public CList<CString, const CString&> {};
class CPtrList : public CList<void*, void*> {};
class CObList : public CList<CObject*, CObject*> {};

class CMapStringToPtr : public CMap<CString, LPCTSTR, void*, void*> {};
class CMapStringToString : public CMap<CString, LPCTSTR, CString, LPCTSTR> {};
class CMapStringToOb : public CMap<CString, LPCTSTR, CObject*, CObject*> {};
class CMapPtrToPtr : public CMap<void*, void*, void*, void*> {};
class CMapWordToPtr : public CMap<WORD, WORD, void*, void*> {};
