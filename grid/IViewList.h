#pragma once

// What a list object of the holdings and readers offers the windows that show it (the generic list
// window and the picker). Each operation acts on the list object's current row.
class IViewList {
public:
    virtual ~IViewList() = default;
    virtual void AddItem() = 0;
    virtual void EditItem() = 0;
    virtual void RemoveItem() = 0;
    virtual void RefreshItems() = 0;
    virtual void PrintItems() = 0;
    // True when something was imported.
    virtual bool ImportItems() = 0;
    // True when the current row was taken as the choice.
    virtual bool PickItem() = 0;
};
