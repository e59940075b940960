#include "trace/twain_names.h"

#include <cstdio>

namespace {

struct Name {
    unsigned value;
    const char* text;
};

template <std::size_t N>
std::string nameIn(const Name (&names)[N], unsigned value) {
    for (const Name& name : names) {
        if (name.value == value) {
            return name.text;
        }
    }
    char hex[16];
    std::snprintf(hex, sizeof(hex), "0x%04X", value);
    return hex;
}

const Name kDataGroups[] = {{0x0001, "DG_CONTROL"}, {0x0002, "DG_IMAGE"}, {0x0004, "DG_AUDIO"}};

const Name kDataArguments[] = {
    {0x0000, "DAT_NULL"},
    {0x0001, "DAT_CAPABILITY"},
    {0x0002, "DAT_EVENT"},
    {0x0003, "DAT_IDENTITY"},
    {0x0004, "DAT_PARENT"},
    {0x0005, "DAT_PENDINGXFERS"},
    {0x0006, "DAT_SETUPMEMXFER"},
    {0x0007, "DAT_SETUPFILEXFER"},
    {0x0008, "DAT_STATUS"},
    {0x0009, "DAT_USERINTERFACE"},
    {0x000A, "DAT_XFERGROUP"},
    {0x000C, "DAT_CUSTOMDSDATA"},
    {0x000D, "DAT_DEVICEEVENT"},
    {0x0010, "DAT_CALLBACK"},
    {0x0012, "DAT_CALLBACK2"},
    {0x0101, "DAT_IMAGEINFO"},
    {0x0102, "DAT_IMAGELAYOUT"},
    {0x0103, "DAT_IMAGEMEMXFER"},
    {0x0104, "DAT_IMAGENATIVEXFER"},
    {0x0105, "DAT_IMAGEFILEXFER"},
    {0x010B, "DAT_EXTIMAGEINFO"},
    {0x0403, "DAT_ENTRYPOINT"},
};

const Name kMessages[] = {
    {0x0000, "MSG_NULL"},         {0x0001, "MSG_GET"},        {0x0002, "MSG_GETCURRENT"},
    {0x0003, "MSG_GETDEFAULT"},   {0x0004, "MSG_GETFIRST"},   {0x0005, "MSG_GETNEXT"},
    {0x0006, "MSG_SET"},          {0x0007, "MSG_RESET"},      {0x0008, "MSG_QUERYSUPPORT"},
    {0x0101, "MSG_XFERREADY"},    {0x0102, "MSG_CLOSEDSREQ"}, {0x0103, "MSG_CLOSEDSOK"},
    {0x0104, "MSG_DEVICEEVENT"},  {0x0301, "MSG_OPENDSM"},    {0x0302, "MSG_CLOSEDSM"},
    {0x0401, "MSG_OPENDS"},       {0x0402, "MSG_CLOSEDS"},    {0x0403, "MSG_USERSELECT"},
    {0x0501, "MSG_DISABLEDS"},    {0x0502, "MSG_ENABLEDS"},   {0x0503, "MSG_ENABLEDSUIONLY"},
    {0x0601, "MSG_PROCESSEVENT"}, {0x0701, "MSG_ENDXFER"},    {0x0702, "MSG_STOPFEEDER"},
};

const Name kResults[] = {
    {0, "TWRC_SUCCESS"},          {1, "TWRC_FAILURE"},   {2, "TWRC_CHECKSTATUS"},
    {3, "TWRC_CANCEL"},           {4, "TWRC_DSEVENT"},   {5, "TWRC_NOTDSEVENT"},
    {6, "TWRC_XFERDONE"},         {7, "TWRC_ENDOFLIST"}, {8, "TWRC_INFONOTSUPPORTED"},
    {9, "TWRC_DATANOTAVAILABLE"}, {10, "TWRC_BUSY"},     {11, "TWRC_SCANNERLOCKED"},
};

const Name kConditions[] = {
    {0, "TWCC_SUCCESS"},          {1, "TWCC_BUMMER"},
    {2, "TWCC_LOWMEMORY"},        {3, "TWCC_NODS"},
    {4, "TWCC_MAXCONNECTIONS"},   {5, "TWCC_OPERATIONERROR"},
    {6, "TWCC_BADCAP"},           {9, "TWCC_BADPROTOCOL"},
    {10, "TWCC_BADVALUE"},        {11, "TWCC_SEQERROR"},
    {12, "TWCC_BADDEST"},         {13, "TWCC_CAPUNSUPPORTED"},
    {14, "TWCC_CAPBADOPERATION"}, {15, "TWCC_CAPSEQERROR"},
    {16, "TWCC_DENIED"},          {17, "TWCC_FILEEXISTS"},
    {18, "TWCC_FILENOTFOUND"},    {19, "TWCC_NOTEMPTY"},
    {20, "TWCC_PAPERJAM"},        {21, "TWCC_PAPERDOUBLEFEED"},
    {22, "TWCC_FILEWRITEERROR"},  {23, "TWCC_CHECKDEVICEONLINE"},
    {24, "TWCC_INTERLOCK"},       {25, "TWCC_DAMAGEDCORNER"},
    {26, "TWCC_FOCUSERROR"},      {27, "TWCC_DOCTOOLIGHT"},
    {28, "TWCC_DOCTOODARK"},      {29, "TWCC_NOMEDIA"},
};

const Name kCapabilities[] = {
    {0x0001, "CAP_XFERCOUNT"},
    {0x0100, "ICAP_COMPRESSION"},
    {0x0101, "ICAP_PIXELTYPE"},
    {0x0102, "ICAP_UNITS"},
    {0x0103, "ICAP_XFERMECH"},
    {0x1002, "CAP_FEEDERENABLED"},
    {0x1003, "CAP_FEEDERLOADED"},
    {0x1005, "CAP_SUPPORTEDCAPS"},
    {0x1007, "CAP_AUTOFEED"},
    {0x1008, "CAP_CLEARPAGE"},
    {0x1009, "CAP_FEEDPAGE"},
    {0x100A, "CAP_REWINDPAGE"},
    {0x100B, "CAP_INDICATORS"},
    {0x100C, "CAP_SUPPORTEDCAPSEXT"},
    {0x100E, "CAP_UICONTROLLABLE"},
    {0x100F, "CAP_DEVICEONLINE"},
    {0x1012, "CAP_DUPLEX"},
    {0x1013, "CAP_DUPLEXENABLED"},
    {0x1100, "ICAP_AUTOBRIGHT"},
    {0x1101, "ICAP_BRIGHTNESS"},
    {0x1103, "ICAP_CONTRAST"},
    {0x110A, "ICAP_HIGHLIGHT"},
    {0x1110, "ICAP_ORIENTATION"},
    {0x1111, "ICAP_PHYSICALWIDTH"},
    {0x1112, "ICAP_PHYSICALHEIGHT"},
    {0x1113, "ICAP_SHADOW"},
    {0x1114, "ICAP_FRAMES"},
    {0x1116, "ICAP_XNATIVERESOLUTION"},
    {0x1117, "ICAP_YNATIVERESOLUTION"},
    {0x1118, "ICAP_XRESOLUTION"},
    {0x1119, "ICAP_YRESOLUTION"},
    {0x1121, "ICAP_ROTATION"},
    {0x1123, "ICAP_THRESHOLD"},
    {0x1124, "ICAP_XSCALING"},
    {0x1125, "ICAP_YSCALING"},
    {0x112B, "ICAP_BITDEPTH"},
    {0x112C, "ICAP_BITDEPTHREDUCTION"},
};

const Name kContainers[] = {
    {3, "TWON_ARRAY"}, {4, "TWON_ENUMERATION"}, {5, "TWON_ONEVALUE"}, {6, "TWON_RANGE"}};

const Name kItemTypes[] = {
    {0x00, "TWTY_INT8"},   {0x01, "TWTY_INT16"},  {0x02, "TWTY_INT32"}, {0x03, "TWTY_UINT8"},
    {0x04, "TWTY_UINT16"}, {0x05, "TWTY_UINT32"}, {0x06, "TWTY_BOOL"},  {0x07, "TWTY_FIX32"},
    {0x08, "TWTY_FRAME"},  {0x09, "TWTY_STR32"},  {0x0A, "TWTY_STR64"}, {0x0B, "TWTY_STR128"},
    {0x0C, "TWTY_STR255"},
};

}  // namespace

std::string dataGroupName(TW_UINT32 dg) { return nameIn(kDataGroups, dg); }
std::string dataArgumentName(TW_UINT16 dat) { return nameIn(kDataArguments, dat); }
std::string messageName(TW_UINT16 msg) { return nameIn(kMessages, msg); }
std::string resultName(TW_UINT16 resultCode) { return nameIn(kResults, resultCode); }
std::string conditionName(TW_UINT16 conditionCode) { return nameIn(kConditions, conditionCode); }
std::string capabilityName(TW_UINT16 capability) { return nameIn(kCapabilities, capability); }
std::string containerName(TW_UINT16 conType) { return nameIn(kContainers, conType); }
std::string itemTypeName(TW_UINT16 itemType) { return nameIn(kItemTypes, itemType); }
