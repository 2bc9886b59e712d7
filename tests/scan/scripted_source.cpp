// A TWAIN data source for the tests alone: it follows a script (the
// environment variable TILORA_SCRIPT, read when the source is opened),
// announces an image as soon as it is enabled, and records every request
// it gets in a trace that the test program reads back.
#include <windows.h>

#include <cstring>
#include <string>

#include "scan/twain_protocol.h"

namespace {

struct script {
    bool check_status = false;  // CAP_XFERCOUNT = 1 answered with TWRC_CHECKSTATUS; the source's own is 5
    bool refuse_info = false;   // DAT_IMAGEINFO fails
    bool fail_transfer = false; // DAT_IMAGEFILEXFER fails
    bool close_after = false;   // asks to close once the images are sent
    int images = 1;             // images offered; 0: ever more (pending count 0xFFFF)
};

// The module's one source: state a manager cannot hand in.
struct scripted_state {
    script plan;
    std::string trace;
    TW_IDENTITY self{};
    TW_IDENTITY application{};
    TW_UINT16 condition = TWCC_SUCCESS;
    int sent = 0;
    char file[256] = {};
} source;

void record(const std::string& what)
{
    if (!source.trace.empty())
        source.trace += ' ';
    source.trace += what;
}

script read_script()
{
    char text[256] = {};
    GetEnvironmentVariableA("TILORA_SCRIPT", text, sizeof text);
    script s;
    s.check_status = std::strstr(text, "checkstatus") != nullptr;
    s.refuse_info = std::strstr(text, "noinfo") != nullptr;
    s.fail_transfer = std::strstr(text, "failxfer") != nullptr;
    s.close_after = std::strstr(text, "close") != nullptr;
    if (const char* images = std::strstr(text, "images="))
        s.images = atoi(images + 7);
    return s;
}

void announce(TW_UINT16 message)
{
    auto manager = reinterpret_cast<DSMENTRYPROC>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("twain_32.dll"), "DSM_Entry")));
    if (manager)
        manager(&source.self, &source.application, DG_CONTROL, DAT_NULL, message, nullptr);
}

TW_UINT16 fail(TW_UINT16 condition)
{
    source.condition = condition;
    return TWRC_FAILURE;
}

// A picture of 2 x 1 pixels, red and blue, as a 24-bit BMP file.
bool write_picture(const char* path)
{
    const unsigned char bmp[] = {'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 2, 0, 0, 0,
                                 1,   0,   0,  0, 1, 0, 24, 0, 0, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                 0,   0,   0,  0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 255, 255, 0, 0, 0, 0};
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bmp, sizeof bmp, &written, nullptr) && written == sizeof bmp;
    return CloseHandle(file) && ok;
}

TW_UINT16 capability(TW_UINT16 message, TW_CAPABILITY* cap)
{
    if (cap->Cap != CAP_XFERCOUNT)
        return fail(TWCC_CAPUNSUPPORTED);
    if (message == MSG_GET) {
        record("get");
        HGLOBAL block = GlobalAlloc(GHND, sizeof(TW_ONEVALUE));
        auto* one = static_cast<TW_ONEVALUE*>(GlobalLock(block));
        one->ItemType = TWTY_INT16;
        one->Item = 5;
        GlobalUnlock(block);
        cap->ConType = TWON_ONEVALUE;
        cap->hContainer = block;
        return TWRC_SUCCESS;
    }
    if (message != MSG_SET || cap->ConType != TWON_ONEVALUE)
        return fail(TWCC_BADPROTOCOL);
    const auto* one = static_cast<const TW_ONEVALUE*>(GlobalLock(cap->hContainer));
    const TW_UINT16 type = one->ItemType;
    const TW_UINT32 item = one->Item;
    GlobalUnlock(cap->hContainer);
    record("set" + std::to_string(type) + ":" + std::to_string(item));
    return source.plan.check_status && item != 5 ? TWRC_CHECKSTATUS : TWRC_SUCCESS;
}

TW_UINT16 end_transfer(TW_UINT16 message, TW_PENDINGXFERS* pending)
{
    record(message == MSG_ENDXFER ? "end" : "reset");
    ++source.sent;
    const bool more = message == MSG_ENDXFER && (source.plan.images == 0 || source.sent < source.plan.images);
    pending->Count = more ? 0xFFFF : 0;
    if (!more && source.plan.close_after)
        announce(MSG_CLOSEDSREQ);
    return TWRC_SUCCESS;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, void*)
{
    // Kept loaded: a winelib module cannot be loaded again once freed.
    HMODULE pinned = nullptr;
    if (reason == DLL_PROCESS_ATTACH)
        GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                           reinterpret_cast<LPCSTR>(&DllMain), &pinned);
    (void)module;
    return TRUE;
}

extern "C" const char* scripted_source_trace()
{
    return source.trace.c_str();
}

extern "C" TW_UINT16 WINAPI DS_Entry(TW_IDENTITY* origin, TW_UINT32 group, TW_UINT16 data_type, TW_UINT16 message,
                                     TW_MEMREF data)
{
    if (group == DG_CONTROL && data_type == DAT_IDENTITY) {
        auto* identity = static_cast<TW_IDENTITY*>(data);
        if (message == MSG_GET) {
            identity->ProtocolMajor = 1;
            identity->ProtocolMinor = 9;
            identity->SupportedGroups = DG_CONTROL | DG_IMAGE;
            lstrcpyA(identity->Manufacturer, "Tilora tests");
            lstrcpyA(identity->ProductFamily, "scripted");
            lstrcpyA(identity->ProductName, "Scripted source");
            return TWRC_SUCCESS;
        }
        if (message == MSG_OPENDS) {
            source.plan = read_script();
            source.trace.clear();
            source.sent = 0;
            source.self = *identity;
            source.application = *origin;
            record("open");
            return TWRC_SUCCESS;
        }
        if (message == MSG_CLOSEDS) {
            record("close");
            return TWRC_SUCCESS;
        }
    }
    if (group == DG_CONTROL && data_type == DAT_STATUS) {
        static_cast<TW_STATUS*>(data)->ConditionCode = source.condition;
        source.condition = TWCC_SUCCESS;
        return TWRC_SUCCESS;
    }
    if (group == DG_CONTROL && data_type == DAT_CAPABILITY)
        return capability(message, static_cast<TW_CAPABILITY*>(data));
    if (group == DG_CONTROL && data_type == DAT_USERINTERFACE) {
        record(message == MSG_ENABLEDS ? "enable" : "disable");
        if (message == MSG_ENABLEDS)
            announce(MSG_XFERREADY);
        return TWRC_SUCCESS;
    }
    if (group == DG_CONTROL && data_type == DAT_EVENT)
        return TWRC_NOTDSEVENT;
    if (group == DG_CONTROL && data_type == DAT_PENDINGXFERS)
        return end_transfer(message, static_cast<TW_PENDINGXFERS*>(data));
    if (group == DG_CONTROL && data_type == DAT_SETUPFILEXFER) {
        record("setup");
        lstrcpynA(source.file, static_cast<TW_SETUPFILEXFER*>(data)->FileName, sizeof source.file);
        return TWRC_SUCCESS;
    }
    if (group == DG_IMAGE && data_type == DAT_IMAGEINFO) {
        record("info");
        if (source.plan.refuse_info)
            return fail(TWCC_SEQERROR);
        auto* info = static_cast<TW_IMAGEINFO*>(data);
        info->ImageWidth = 2;
        info->ImageLength = 1;
        info->SamplesPerPixel = 3;
        info->BitsPerPixel = 24;
        info->PixelType = TWPT_RGB;
        return TWRC_SUCCESS;
    }
    if (group == DG_IMAGE && data_type == DAT_IMAGEFILEXFER) {
        record("xfer");
        if (source.plan.fail_transfer)
            return fail(TWCC_OPERATIONERROR);
        return write_picture(source.file) ? TWRC_XFERDONE : fail(TWCC_OPERATIONERROR);
    }
    return fail(TWCC_BADPROTOCOL);
}
