// What the bar painter needs of the command icons: one icon in its states, and the store that finds the icon of
// a command at a width. The image manager provides both; tests put small icons of their own in its place.
#pragma once

#include "platform/mfc/afxwin.h"

class CXTPBarIcon
{
public:
    // The images of one icon; normal, disabled, hot and checked are the image manager's image states.
    enum { imageNormal = 0, imageDisabled = 1, imageHot = 2, imageChecked = 3, imageFaded = 4, imageShadow = 5 };

    virtual ~CXTPBarIcon() = default;

    virtual CSize GetExtent() const = 0;
    // The icon holds an image of that state of its own (not one generated from the normal image).
    virtual BOOL HasImage(int nImage) const = 0;
    // The icon is an alpha bitmap: it has no silhouette (DrawMono draws nothing).
    virtual BOOL IsAlpha() const = 0;
    // Draws the image of a state (a generated one when the icon has none of its own) at a point in a size.
    virtual void Draw(CDC* pDC, CPoint pt, int nImage, CSize sz) = 0;
    // The icon as a silhouette of one colour.
    virtual void DrawMono(CDC* pDC, CPoint pt, CSize sz, COLORREF clr) = 0;
};

class CXTPBarImages
{
public:
    virtual ~CXTPBarImages() = default;
    // The icon of a command for a width, or null.
    virtual CXTPBarIcon* GetIcon(UINT nCommand, int nWidth) = 0;
    // A holder is done with the store: a counted store drops the holder's reference; others stay.
    virtual void ReleaseImages() {}
};
