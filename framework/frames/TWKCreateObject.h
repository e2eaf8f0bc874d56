// Creating an object through a runtime class as a given framework type.
#pragma once
#include "afx/afx.h"

// A new object of the class when it is creatable and a kind of T (whose
// runtime class pKind is); NULL otherwise (an object of another kind is deleted again).
template<class T> T* TWKCreateObject(CRuntimeClass* pClass, const CRuntimeClass* pKind)
{
    CObject* pObject = pClass ? pClass->CreateObject() : nullptr;
    if (pObject && !pObject->IsKindOf(pKind)) {
        delete pObject;
        pObject = nullptr;
    }
    return static_cast<T*>(pObject);
}
