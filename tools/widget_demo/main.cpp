#include "widget_demo.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    WidgetDemo demo;
    demo.open(100, 100, 0);
    demo.native_record().center();
    demo.run_modal();
    return 0;
}
