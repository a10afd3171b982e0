#pragma once

#include <windows.h>

// Points one entry of this program's import table at another function while
// the object lives, so a test can watch or fail a system call made by the
// code under test.
class import_patch {
public:
    import_patch(const char* dll, const char* function, void* replacement);
    ~import_patch();
    import_patch(const import_patch&) = delete;
    import_patch& operator=(const import_patch&) = delete;

    // False when the program does not import the function.
    bool found() const { return slot != nullptr; }
    // The function the entry pointed at before.
    void* original() const { return saved; }

private:
    void** slot = nullptr;
    void* saved = nullptr;
};
