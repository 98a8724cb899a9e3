// What a selection in the navigation tree opens, decided from the node alone: the view and its item, the
// "awaiting rules" message, or the start page.
#pragma once

#include "data/SetAlbero.h"

// The two tabs of the tree.
enum { TAB_CONTROLLO = 0, TAB_UFFICIALE = 1 };

enum class TreeTarget {
    StartPage,       // the empty view, no message
    AwaitingRules,   // the empty view and message 2059
    Report,          // printed report (CViewTxPrint)
    Document,        // editable document (CViewTxInputEx)
    FormD07,         // the official attachment D-07 (CViewInputFormD07), with a CTextID
    ReportCSP,       // programmed target report (CViewTxPrintCSP)
    ReportResp,      // per-responsible report (CViewTxPrintResp)
    ConfServ,        // responsible-centre form (CViewTxConfServ)
};

struct TreeDispatch
{
    TreeTarget target = TreeTarget::StartPage;
    CString strFile;   // the item's text
    long nNumber = 0;  // the item's number (CTextLongID); unused for FormD07
};

// Tree images: 0 and 3 are folders.
enum { IMG_FOLDER = 0, IMG_LEAF = 1, IMG_LEAF_CONF = 2, IMG_FOLDER_OPEN = 3 };

inline bool IsFolderImage(int nImage) { return nImage == IMG_FOLDER || nImage == IMG_FOLDER_OPEN; }

// pNode: the item's node record, null for no item; nItemImage: the tree item's image. bCentreNode: the node is a
// per-responsible child whose first field holds the responsible centre's ID; other nodes ask for the totals
// (centre 0), never for a centre numbered like their own key.
TreeDispatch DispatchTreeNode(int nTab, const CRecAlbero* pNode, int nItemImage, bool bCentreNode);

// Section codes compared as the tree does: ordinal text comparison.
bool IsAwaitingRulesCode(const CString& strCode);
