#include "platform/code_page.h"

void SetScriptOfCodePage(AnsiCodePage& page, unsigned codePage)
{
    static const struct {
        unsigned codePage;
        wchar_t first, last;
    } kScripts[] = {
        {1251, 0x0400, 0x04FF},  // Cyrillic
        {1253, 0x0370, 0x03FF},  // Greek
        {1255, 0x0590, 0x05FF},  // Hebrew
        {874, 0x0E00, 0x0E7F},   // Thai
    };
    page.scriptFirst = page.scriptLast = 0;
    for (const auto& script : kScripts) {
        if (script.codePage == codePage) {
            page.scriptFirst = script.first;
            page.scriptLast = script.last;
        }
    }
}
