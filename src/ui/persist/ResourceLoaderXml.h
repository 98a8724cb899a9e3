// A resource loader that takes the framework's strings, menus and dialog templates from an XML file (root element
// "resource"), so that its user interface can be translated without a resource library. Whatever the file does
// not hold (and every tool bar, bitmap and cursor) comes from the base loader.
#pragma once

#include "ui/persist/ResourceLoader.h"

#include <map>
#include <vector>

class CXTPPropExchangeXMLNode;

class CXTPResourceLoaderXML : public CXTPResourceLoader
{
public:
    // Reads the file; the loader is valid only when it was read whole.
    explicit CXTPResourceLoaderXML(LPCTSTR lpszFileName);
    // Takes over a loading exchange node (released with the loader); valid when its first exchange step succeeds.
    explicit CXTPResourceLoaderXML(CXTPPropExchangeXMLNode* pResourceNode);
    ~CXTPResourceLoaderXML() override;

    BOOL LoadString(CString* pString, UINT nID) override;
    BOOL LoadMenu(CMenu* pMenu, UINT nID) override;
    // The same id answers the same block until Close.
    LPCDLGTEMPLATE LoadDialogTemplate(UINT nID) override;
    using CXTPResourceLoader::LoadDialogTemplate;
    void Close() override;

private:
    LPCDLGTEMPLATE LoadTemplateFromFile(UINT nID);

    CXTPPropExchangeXMLNode* m_pResourceNode = nullptr;
    // DWORD storage keeps the templates' alignment.
    std::map<UINT, std::vector<DWORD>> m_mapDialogTemplates;
};
