#pragma once
// Our own declarations of the host structures of the Photoshop plug-in API that Lumenforge
// uses, written from the published binary layout. The host fixes these layouts: every offset is
// asserted below for 32-bit Windows (the product) and for 64-bit targets. Hosts pack only the
// FilterRecord to 4 bytes; every other record keeps natural alignment, so on 64-bit targets its
// pointers lie on 8-byte boundaries.
#include <cstddef>
#include <cstdint>

namespace lumen::hostapi {

using Boolean = uint8_t;
using OSType = uint32_t;
using Fixed = int32_t;
using Handle = char**;
using DescriptorKeyID = uint32_t;
using DescType = uint32_t;
using PIReadDescriptor = void*;
using PIWriteDescriptor = void*;

constexpr OSType fourCharCode(const char (&code)[5]) {
    return static_cast<OSType>(static_cast<uint8_t>(code[0])) << 24 |
           static_cast<OSType>(static_cast<uint8_t>(code[1])) << 16 |
           static_cast<OSType>(static_cast<uint8_t>(code[2])) << 8 |
           static_cast<OSType>(static_cast<uint8_t>(code[3]));
}

enum Selector : int16_t {
    filterSelectorAbout = 0,
    filterSelectorParameters = 1,
    filterSelectorPrepare = 2,
    filterSelectorStart = 3,
    filterSelectorContinue = 4,
    filterSelectorFinish = 5,
};

enum ResultCode : int16_t {
    noErr = 0,
    paramErr = -50,
    userCanceledErr = -128,
    memFullErr = -108,
    nilHandleErr = -109,
    filterBadParameters = -30100,
    filterBadMode = -30101,
    errPlugInHostInsufficient = -30900,
};

enum ImageMode : int16_t {
    plugInModeBitmap = 0,
    plugInModeGrayScale = 1,
    plugInModeIndexedColor = 2,
    plugInModeRGBColor = 3,
    plugInModeCMYKColor = 4,
    plugInModeHSLColor = 5,
    plugInModeHSBColor = 6,
    plugInModeMultichannel = 7,
    plugInModeDuotone = 8,
    plugInModeLabColor = 9,
};

struct Point {
    int16_t v, h;
};
struct Rect {
    int16_t top, left, bottom, right;
};
struct VPoint {
    int32_t v, h;
};
struct VRect {
    int32_t top, left, bottom, right;
};
struct PSRGBColor {
    uint16_t red, green, blue;
};
using FilterColor = uint8_t[4];

using TestAbortProc = Boolean (*)();
using ProgressProc = void (*)(int32_t done, int32_t total);
using HostProc = void (*)(int16_t selector, intptr_t* data);
using ProcessEventProc = void (*)(void* event);

// ---- Handles -------------------------------------------------------------------------------
using NewPIHandleProc = Handle (*)(int32_t size);
using DisposePIHandleProc = void (*)(Handle handle);
using GetPIHandleSizeProc = int32_t (*)(Handle handle);
using SetPIHandleSizeProc = int16_t (*)(Handle handle, int32_t newSize);
using LockPIHandleProc = char* (*)(Handle handle, Boolean moveHigh);
using UnlockPIHandleProc = void (*)(Handle handle);
using RecoverSpaceProc = void (*)(int32_t size);
using DisposeRegularHandlePIHandleProc = void (*)(Handle handle);

struct HandleProcs {
    int16_t handleProcsVersion;  // 1
    int16_t numHandleProcs;      // 8
    NewPIHandleProc newProc;
    DisposePIHandleProc disposeProc;
    GetPIHandleSizeProc getSizeProc;
    SetPIHandleSizeProc setSizeProc;
    LockPIHandleProc lockProc;
    UnlockPIHandleProc unlockProc;
    RecoverSpaceProc recoverSpaceProc;
    DisposeRegularHandlePIHandleProc disposeRegularHandleProc;
};

// ---- Buffers ---------------------------------------------------------------------------------
struct BufferProcs {
    int16_t bufferProcsVersion;  // 2
    int16_t numBufferProcs;      // 5: the procedures up to spaceProc
    void* allocateProc;
    void* lockProc;
    void* unlockProc;
    void* freeProc;
    void* spaceProc;
    // Present only where numBufferProcs counts them.
    void* reserveProc;
    void* allocateProc64;
    void* spaceProc64;
};

// ---- Colour services -------------------------------------------------------------------------
enum ColorServicesSelector : int16_t {
    plugIncolorServicesChooseColor = 0,
    plugIncolorServicesConvertColor = 1,
    plugIncolorServicesSamplePoint = 2,
    plugIncolorServicesGetSpecialColor = 3,
};
enum ColorSpace : int16_t {
    plugIncolorServicesChosenSpace = -1,
    plugIncolorServicesRGBSpace = 0,
    plugIncolorServicesHSBSpace = 1,
    plugIncolorServicesCMYKSpace = 2,
    plugIncolorServicesLabSpace = 3,
    plugIncolorServicesGraySpace = 4,
    plugIncolorServicesHSLSpace = 5,
    plugIncolorServicesXYZSpace = 6,
};

struct ColorServicesInfo {
    int32_t infoSize;  // sizeof this record: 36 on 32-bit hosts, 56 on 64-bit ones
    int16_t selector;
    int16_t sourceSpace;
    int16_t resultSpace;
    Boolean resultGamutInfoValid;
    Boolean resultInGamut;
    void* reservedSourceSpaceInfo;
    void* reservedResultSpaceInfo;
    int16_t colorComponents[4];
    void* reserved;
    union {
        void* pickerPrompt;
        void* globalSamplePoint;
        int32_t specialColorID;
    } selectorParameter;
};
using ColorServicesProc = int16_t (*)(ColorServicesInfo* info);

// ---- Pixel maps for displayPixels ------------------------------------------------------------
struct PSPixelMask {
    PSPixelMask* next;
    void* maskData;
    int32_t rowBytes;
    int32_t colBytes;
    int32_t maskDescription;  // 0 simple, 1 black matte, 2 gray matte, 3 white matte, 4 invert
};

struct PSPixelMap {
    int32_t version;
    VRect bounds;
    int32_t imageMode;
    int32_t rowBytes;
    int32_t colBytes;
    int32_t planeBytes;
    void* baseAddr;
    PSPixelMask* mat;        // version 1 and later
    PSPixelMask* masks;
    int32_t maskPhaseRow;
    int32_t maskPhaseCol;
    void* pixelOverlays;  // version 2 and later
    uint32_t colorManagementOptions;
};

using DisplayPixelsProc = int16_t (*)(const PSPixelMap* source, const VRect* srcRect,
                                      int32_t dstRow, int32_t dstCol, void* platformContext);

// ---- Scripting descriptors -------------------------------------------------------------------
enum PlayInfo : int16_t {
    plugInDialogDontDisplay = 0,
    plugInDialogDisplay = 1,
    plugInDialogSilent = 2,
};
enum RecordInfo : int16_t {
    plugInDialogOptional = 0,
    plugInDialogRequired = 1,
    plugInDialogNone = 2,
};

using DescriptorKeyIDArray = const DescriptorKeyID*;  // zero-terminated

using OpenReadDescriptorProc = PIReadDescriptor (*)(Handle descriptor, DescriptorKeyIDArray keys);
using CloseReadDescriptorProc = int16_t (*)(PIReadDescriptor reader);
using GetKeyProc = Boolean (*)(PIReadDescriptor reader, DescriptorKeyID* key, DescType* type,
                               int32_t* flags);
using GetIntegerProc = int16_t (*)(PIReadDescriptor reader, int32_t* value);
using GetFloatProc = int16_t (*)(PIReadDescriptor reader, double* value);
using GetUnitFloatProc = int16_t (*)(PIReadDescriptor reader, uint32_t* unit, double* value);
using GetBooleanProc = int16_t (*)(PIReadDescriptor reader, Boolean* value);
using GetTextProc = int16_t (*)(PIReadDescriptor reader, Handle* text);
using GetOtherReadProc = int16_t (*)(PIReadDescriptor reader, void* value);

struct ReadDescriptorProcs {
    int16_t readDescriptorProcsVersion;  // 0
    int16_t numReadDescriptorProcs;      // 18
    OpenReadDescriptorProc openReadDescriptorProc;
    CloseReadDescriptorProc closeReadDescriptorProc;
    GetKeyProc getKeyProc;
    GetIntegerProc getIntegerProc;
    GetFloatProc getFloatProc;
    GetUnitFloatProc getUnitFloatProc;
    GetBooleanProc getBooleanProc;
    GetTextProc getTextProc;
    GetOtherReadProc getAliasProc;
    GetOtherReadProc getEnumeratedProc;
    GetOtherReadProc getClassProc;
    GetOtherReadProc getSimpleReferenceProc;
    GetOtherReadProc getObjectProc;
    GetOtherReadProc getCountProc;
    GetOtherReadProc getStringProc;
    GetOtherReadProc getPinnedIntegerProc;
    GetOtherReadProc getPinnedFloatProc;
    GetOtherReadProc getPinnedUnitFloatProc;
};

using OpenWriteDescriptorProc = PIWriteDescriptor (*)();
using CloseWriteDescriptorProc = int16_t (*)(PIWriteDescriptor writer, Handle* newDescriptor);
using PutIntegerProc = int16_t (*)(PIWriteDescriptor writer, DescriptorKeyID key, int32_t value);
using PutTextProc = int16_t (*)(PIWriteDescriptor writer, DescriptorKeyID key, Handle text);
// Procedures of the suites that Lumenforge never calls; only their slots matter.
using PutOtherProc = int16_t (*)(PIWriteDescriptor writer, DescriptorKeyID key, const void* value);

struct WriteDescriptorProcs {
    int16_t writeDescriptorProcsVersion;  // 0
    int16_t numWriteDescriptorProcs;      // 16
    OpenWriteDescriptorProc openWriteDescriptorProc;
    CloseWriteDescriptorProc closeWriteDescriptorProc;
    PutIntegerProc putIntegerProc;
    PutOtherProc putFloatProc;
    PutOtherProc putUnitFloatProc;
    PutOtherProc putBooleanProc;
    PutTextProc putTextProc;
    PutOtherProc putAliasProc;
    PutOtherProc putEnumeratedProc;
    PutOtherProc putClassProc;
    PutOtherProc putSimpleReferenceProc;
    PutOtherProc putObjectProc;
    PutOtherProc putCountProc;
    PutOtherProc putStringProc;
    PutOtherProc putScopedClassProc;
    PutOtherProc putScopedObjectProc;
};

struct PIDescriptorParameters {
    int16_t descriptorParametersVersion;  // 0
    int16_t playInfo;
    int16_t recordInfo;
    Handle descriptor;
    WriteDescriptorProcs* writeDescriptorProcs;
    ReadDescriptorProcs* readDescriptorProcs;
};

constexpr DescType typeChar = fourCharCode("TEXT");
constexpr DescType typeInteger = fourCharCode("long");
constexpr DescType typeNull = fourCharCode("null");
constexpr DescType typeImageReference = fourCharCode("#ImR");

// ---- The about record (selector 0) and the filter record (all other selectors) ---------------
struct AboutRecord {
    void* platformData;  // points to a record whose first field is the host's window
    void* sSPBasic;
    void* plugInRef;
    char reserved[244];
};

struct PlatformData {
    intptr_t hwnd;
};

// The one record the hosts pack to 4 bytes: on 64-bit targets some of its pointers lie on
// 4-byte boundaries.
#pragma pack(push, 4)
struct FilterRecord {
    int32_t serialNumber;
    TestAbortProc abortProc;
    ProgressProc progressProc;
    Handle parameters;
    Point imageSize;
    int16_t planes;
    Rect filterRect;
    PSRGBColor background;
    PSRGBColor foreground;
    int32_t maxSpace;
    int32_t bufferSpace;
    Rect inRect;
    int16_t inLoPlane;
    int16_t inHiPlane;
    Rect outRect;
    int16_t outLoPlane;
    int16_t outHiPlane;
    void* inData;
    int32_t inRowBytes;
    void* outData;
    int32_t outRowBytes;
    Boolean isFloating;
    Boolean haveMask;
    Boolean autoMask;
    Rect maskRect;
    void* maskData;
    int32_t maskRowBytes;
    FilterColor backColor;
    FilterColor foreColor;
    OSType hostSig;
    HostProc hostProc;
    int16_t imageMode;
    Fixed imageHRes;
    Fixed imageVRes;
    Point floatCoord;
    Point wholeSize;
    Fixed monitor[10];
    void* platformData;
    BufferProcs* bufferProcs;
    void* resourceProcs;
    ProcessEventProc processEvent;
    DisplayPixelsProc displayPixels;
    HandleProcs* handleProcs;
    Boolean supportsDummyChannels;
    Boolean supportsAlternateLayouts;
    int16_t wantLayout;
    int16_t filterCase;
    int16_t dummyPlaneValue;
    void* premiereHook;
    void* advanceState;
    Boolean supportsAbsolute;
    Boolean wantsAbsolute;
    void* getPropertyObsolete;
    Boolean cannotUndo;
    Boolean supportsPadding;
    int16_t inputPadding;
    int16_t outputPadding;
    int16_t maskPadding;
    char samplingSupport;
    char reservedByte;
    Fixed inputRate;
    Fixed maskRate;
    ColorServicesProc colorServices;
    int16_t layerLayoutFields[19];  // layer plane counts the plug-in does not use
    int32_t inColumnBytes;
    int32_t inPlaneBytes;
    int32_t outColumnBytes;
    int32_t outPlaneBytes;
    void* imageServicesProcs;
    void* propertyProcs;
    int32_t tileFields[8];  // tile sizes and origins, unused
    PIDescriptorParameters* descriptorParameters;
    unsigned char* errorString;
    void* channelPortProcs;
    void* documentInfo;
    void* sSPBasic;
    void* plugInRef;
    int32_t depth;
    Handle iCCprofileData;
    int32_t iCCprofileSize;
    int32_t canUseICCProfiles;
    int32_t hasImageScrap;
    void* bigDocumentData;
    void* input3DScene;
    void* output3DScene;
    Boolean createNewLayer;
    Handle iCCWorkingProfileData;
    int32_t iCCWorkingProfileSize;
    int64_t bufferSpace64;
    int64_t maxSpace64;
    Boolean allowOverrangeColors;
    char reserved[47];
};

#pragma pack(pop)

using PluginEntryProc = void (*)(int16_t selector, void* record, intptr_t* data, int16_t* result);

}  // namespace lumen::hostapi

// ---- Layout checks: the host reads these records byte by byte --------------------------------
namespace lumen::hostapi::layout_checks {
#if INTPTR_MAX == INT32_MAX
#define LUMEN_HOST_OFFSET(type, field, offset32, offset64) \
    static_assert(offsetof(type, field) == (offset32), #type "::" #field)
#else
#define LUMEN_HOST_OFFSET(type, field, offset32, offset64) \
    static_assert(offsetof(type, field) == (offset64), #type "::" #field)
#endif
#define LUMEN_HOST_SIZE(type, size32, size64) \
    static_assert(sizeof(type) == (INTPTR_MAX == INT32_MAX ? (size32) : (size64)), #type)

LUMEN_HOST_OFFSET(FilterRecord, serialNumber, 0, 0);
LUMEN_HOST_OFFSET(FilterRecord, abortProc, 4, 4);
LUMEN_HOST_OFFSET(FilterRecord, progressProc, 8, 12);
LUMEN_HOST_OFFSET(FilterRecord, parameters, 12, 20);
LUMEN_HOST_OFFSET(FilterRecord, imageSize, 16, 28);
LUMEN_HOST_OFFSET(FilterRecord, planes, 20, 32);
LUMEN_HOST_OFFSET(FilterRecord, filterRect, 22, 34);
LUMEN_HOST_OFFSET(FilterRecord, background, 30, 42);
LUMEN_HOST_OFFSET(FilterRecord, foreground, 36, 48);
LUMEN_HOST_OFFSET(FilterRecord, maxSpace, 44, 56);
LUMEN_HOST_OFFSET(FilterRecord, bufferSpace, 48, 60);
LUMEN_HOST_OFFSET(FilterRecord, inRect, 52, 64);
LUMEN_HOST_OFFSET(FilterRecord, inLoPlane, 60, 72);
LUMEN_HOST_OFFSET(FilterRecord, inHiPlane, 62, 74);
LUMEN_HOST_OFFSET(FilterRecord, outRect, 64, 76);
LUMEN_HOST_OFFSET(FilterRecord, outLoPlane, 72, 84);
LUMEN_HOST_OFFSET(FilterRecord, outHiPlane, 74, 86);
LUMEN_HOST_OFFSET(FilterRecord, inData, 76, 88);
LUMEN_HOST_OFFSET(FilterRecord, inRowBytes, 80, 96);
LUMEN_HOST_OFFSET(FilterRecord, outData, 84, 100);
LUMEN_HOST_OFFSET(FilterRecord, outRowBytes, 88, 108);
LUMEN_HOST_OFFSET(FilterRecord, isFloating, 92, 112);
LUMEN_HOST_OFFSET(FilterRecord, haveMask, 93, 113);
LUMEN_HOST_OFFSET(FilterRecord, autoMask, 94, 114);
LUMEN_HOST_OFFSET(FilterRecord, maskRect, 96, 116);
LUMEN_HOST_OFFSET(FilterRecord, maskData, 104, 124);
LUMEN_HOST_OFFSET(FilterRecord, maskRowBytes, 108, 132);
LUMEN_HOST_OFFSET(FilterRecord, backColor, 112, 136);
LUMEN_HOST_OFFSET(FilterRecord, foreColor, 116, 140);
LUMEN_HOST_OFFSET(FilterRecord, hostSig, 120, 144);
LUMEN_HOST_OFFSET(FilterRecord, hostProc, 124, 148);
LUMEN_HOST_OFFSET(FilterRecord, imageMode, 128, 156);
LUMEN_HOST_OFFSET(FilterRecord, imageHRes, 132, 160);
LUMEN_HOST_OFFSET(FilterRecord, imageVRes, 136, 164);
LUMEN_HOST_OFFSET(FilterRecord, floatCoord, 140, 168);
LUMEN_HOST_OFFSET(FilterRecord, wholeSize, 144, 172);
LUMEN_HOST_OFFSET(FilterRecord, monitor, 148, 176);
LUMEN_HOST_OFFSET(FilterRecord, platformData, 188, 216);
LUMEN_HOST_OFFSET(FilterRecord, bufferProcs, 192, 224);
LUMEN_HOST_OFFSET(FilterRecord, resourceProcs, 196, 232);
LUMEN_HOST_OFFSET(FilterRecord, processEvent, 200, 240);
LUMEN_HOST_OFFSET(FilterRecord, displayPixels, 204, 248);
LUMEN_HOST_OFFSET(FilterRecord, handleProcs, 208, 256);
LUMEN_HOST_OFFSET(FilterRecord, supportsDummyChannels, 212, 264);
LUMEN_HOST_OFFSET(FilterRecord, supportsAlternateLayouts, 213, 265);
LUMEN_HOST_OFFSET(FilterRecord, wantLayout, 214, 266);
LUMEN_HOST_OFFSET(FilterRecord, filterCase, 216, 268);
LUMEN_HOST_OFFSET(FilterRecord, dummyPlaneValue, 218, 270);
LUMEN_HOST_OFFSET(FilterRecord, premiereHook, 220, 272);
LUMEN_HOST_OFFSET(FilterRecord, advanceState, 224, 280);
LUMEN_HOST_OFFSET(FilterRecord, supportsAbsolute, 228, 288);
LUMEN_HOST_OFFSET(FilterRecord, wantsAbsolute, 229, 289);
LUMEN_HOST_OFFSET(FilterRecord, getPropertyObsolete, 232, 292);
LUMEN_HOST_OFFSET(FilterRecord, cannotUndo, 236, 300);
LUMEN_HOST_OFFSET(FilterRecord, supportsPadding, 237, 301);
LUMEN_HOST_OFFSET(FilterRecord, inputPadding, 238, 302);
LUMEN_HOST_OFFSET(FilterRecord, outputPadding, 240, 304);
LUMEN_HOST_OFFSET(FilterRecord, maskPadding, 242, 306);
LUMEN_HOST_OFFSET(FilterRecord, samplingSupport, 244, 308);
LUMEN_HOST_OFFSET(FilterRecord, reservedByte, 245, 309);
LUMEN_HOST_OFFSET(FilterRecord, inputRate, 248, 312);
LUMEN_HOST_OFFSET(FilterRecord, maskRate, 252, 316);
LUMEN_HOST_OFFSET(FilterRecord, colorServices, 256, 320);
LUMEN_HOST_OFFSET(FilterRecord, layerLayoutFields, 260, 328);
LUMEN_HOST_OFFSET(FilterRecord, inColumnBytes, 300, 368);
LUMEN_HOST_OFFSET(FilterRecord, inPlaneBytes, 304, 372);
LUMEN_HOST_OFFSET(FilterRecord, outColumnBytes, 308, 376);
LUMEN_HOST_OFFSET(FilterRecord, outPlaneBytes, 312, 380);
LUMEN_HOST_OFFSET(FilterRecord, imageServicesProcs, 316, 384);
LUMEN_HOST_OFFSET(FilterRecord, propertyProcs, 320, 392);
LUMEN_HOST_OFFSET(FilterRecord, tileFields, 324, 400);
LUMEN_HOST_OFFSET(FilterRecord, descriptorParameters, 356, 432);
LUMEN_HOST_OFFSET(FilterRecord, errorString, 360, 440);
LUMEN_HOST_OFFSET(FilterRecord, channelPortProcs, 364, 448);
LUMEN_HOST_OFFSET(FilterRecord, documentInfo, 368, 456);
LUMEN_HOST_OFFSET(FilterRecord, sSPBasic, 372, 464);
LUMEN_HOST_OFFSET(FilterRecord, plugInRef, 376, 472);
LUMEN_HOST_OFFSET(FilterRecord, depth, 380, 480);
LUMEN_HOST_OFFSET(FilterRecord, iCCprofileData, 384, 484);
LUMEN_HOST_OFFSET(FilterRecord, iCCprofileSize, 388, 492);
LUMEN_HOST_OFFSET(FilterRecord, canUseICCProfiles, 392, 496);
LUMEN_HOST_OFFSET(FilterRecord, hasImageScrap, 396, 500);
LUMEN_HOST_OFFSET(FilterRecord, bigDocumentData, 400, 504);
LUMEN_HOST_OFFSET(FilterRecord, input3DScene, 404, 512);
LUMEN_HOST_OFFSET(FilterRecord, output3DScene, 408, 520);
LUMEN_HOST_OFFSET(FilterRecord, createNewLayer, 412, 528);
LUMEN_HOST_OFFSET(FilterRecord, iCCWorkingProfileData, 416, 532);
LUMEN_HOST_OFFSET(FilterRecord, iCCWorkingProfileSize, 420, 540);
LUMEN_HOST_OFFSET(FilterRecord, bufferSpace64, 424, 544);
LUMEN_HOST_OFFSET(FilterRecord, maxSpace64, 432, 552);
LUMEN_HOST_OFFSET(FilterRecord, allowOverrangeColors, 440, 560);
LUMEN_HOST_OFFSET(FilterRecord, reserved, 441, 561);
LUMEN_HOST_SIZE(FilterRecord, 488, 608);

// Every other record keeps natural alignment: the 64-bit offsets are the published ones, not
// the 32-bit ones packed closer.
LUMEN_HOST_OFFSET(HandleProcs, handleProcsVersion, 0, 0);
LUMEN_HOST_OFFSET(HandleProcs, numHandleProcs, 2, 2);
LUMEN_HOST_OFFSET(HandleProcs, newProc, 4, 8);
LUMEN_HOST_OFFSET(HandleProcs, disposeProc, 8, 16);
LUMEN_HOST_OFFSET(HandleProcs, getSizeProc, 12, 24);
LUMEN_HOST_OFFSET(HandleProcs, setSizeProc, 16, 32);
LUMEN_HOST_OFFSET(HandleProcs, lockProc, 20, 40);
LUMEN_HOST_OFFSET(HandleProcs, unlockProc, 24, 48);
LUMEN_HOST_OFFSET(HandleProcs, recoverSpaceProc, 28, 56);
LUMEN_HOST_OFFSET(HandleProcs, disposeRegularHandleProc, 32, 64);
LUMEN_HOST_SIZE(HandleProcs, 36, 72);

LUMEN_HOST_OFFSET(BufferProcs, bufferProcsVersion, 0, 0);
LUMEN_HOST_OFFSET(BufferProcs, numBufferProcs, 2, 2);
LUMEN_HOST_OFFSET(BufferProcs, allocateProc, 4, 8);
LUMEN_HOST_OFFSET(BufferProcs, lockProc, 8, 16);
LUMEN_HOST_OFFSET(BufferProcs, unlockProc, 12, 24);
LUMEN_HOST_OFFSET(BufferProcs, freeProc, 16, 32);
LUMEN_HOST_OFFSET(BufferProcs, spaceProc, 20, 40);
LUMEN_HOST_SIZE(BufferProcs, 36, 72);

LUMEN_HOST_OFFSET(ColorServicesInfo, infoSize, 0, 0);
LUMEN_HOST_OFFSET(ColorServicesInfo, selector, 4, 4);
LUMEN_HOST_OFFSET(ColorServicesInfo, sourceSpace, 6, 6);
LUMEN_HOST_OFFSET(ColorServicesInfo, resultSpace, 8, 8);
LUMEN_HOST_OFFSET(ColorServicesInfo, resultGamutInfoValid, 10, 10);
LUMEN_HOST_OFFSET(ColorServicesInfo, resultInGamut, 11, 11);
LUMEN_HOST_OFFSET(ColorServicesInfo, reservedSourceSpaceInfo, 12, 16);
LUMEN_HOST_OFFSET(ColorServicesInfo, reservedResultSpaceInfo, 16, 24);
LUMEN_HOST_OFFSET(ColorServicesInfo, colorComponents, 20, 32);
LUMEN_HOST_OFFSET(ColorServicesInfo, reserved, 28, 40);
LUMEN_HOST_OFFSET(ColorServicesInfo, selectorParameter, 32, 48);
LUMEN_HOST_SIZE(ColorServicesInfo, 36, 56);

LUMEN_HOST_OFFSET(PSPixelMask, next, 0, 0);
LUMEN_HOST_OFFSET(PSPixelMask, maskData, 4, 8);
LUMEN_HOST_OFFSET(PSPixelMask, rowBytes, 8, 16);
LUMEN_HOST_OFFSET(PSPixelMask, colBytes, 12, 20);
LUMEN_HOST_OFFSET(PSPixelMask, maskDescription, 16, 24);
LUMEN_HOST_SIZE(PSPixelMask, 20, 32);

LUMEN_HOST_OFFSET(PSPixelMap, version, 0, 0);
LUMEN_HOST_OFFSET(PSPixelMap, bounds, 4, 4);
LUMEN_HOST_OFFSET(PSPixelMap, imageMode, 20, 20);
LUMEN_HOST_OFFSET(PSPixelMap, rowBytes, 24, 24);
LUMEN_HOST_OFFSET(PSPixelMap, colBytes, 28, 28);
LUMEN_HOST_OFFSET(PSPixelMap, planeBytes, 32, 32);
LUMEN_HOST_OFFSET(PSPixelMap, baseAddr, 36, 40);
LUMEN_HOST_OFFSET(PSPixelMap, mat, 40, 48);
LUMEN_HOST_OFFSET(PSPixelMap, masks, 44, 56);
LUMEN_HOST_OFFSET(PSPixelMap, maskPhaseRow, 48, 64);
LUMEN_HOST_OFFSET(PSPixelMap, maskPhaseCol, 52, 68);
LUMEN_HOST_OFFSET(PSPixelMap, pixelOverlays, 56, 72);
LUMEN_HOST_OFFSET(PSPixelMap, colorManagementOptions, 60, 80);
LUMEN_HOST_SIZE(PSPixelMap, 64, 88);

LUMEN_HOST_OFFSET(PIDescriptorParameters, descriptorParametersVersion, 0, 0);
LUMEN_HOST_OFFSET(PIDescriptorParameters, playInfo, 2, 2);
LUMEN_HOST_OFFSET(PIDescriptorParameters, recordInfo, 4, 4);
LUMEN_HOST_OFFSET(PIDescriptorParameters, descriptor, 8, 8);
LUMEN_HOST_OFFSET(PIDescriptorParameters, writeDescriptorProcs, 12, 16);
LUMEN_HOST_OFFSET(PIDescriptorParameters, readDescriptorProcs, 16, 24);
LUMEN_HOST_SIZE(PIDescriptorParameters, 20, 32);

LUMEN_HOST_OFFSET(ReadDescriptorProcs, readDescriptorProcsVersion, 0, 0);
LUMEN_HOST_OFFSET(ReadDescriptorProcs, numReadDescriptorProcs, 2, 2);
LUMEN_HOST_OFFSET(ReadDescriptorProcs, openReadDescriptorProc, 4, 8);
LUMEN_HOST_OFFSET(ReadDescriptorProcs, closeReadDescriptorProc, 8, 16);
LUMEN_HOST_OFFSET(ReadDescriptorProcs, getKeyProc, 12, 24);
LUMEN_HOST_OFFSET(ReadDescriptorProcs, getIntegerProc, 16, 32);
LUMEN_HOST_OFFSET(ReadDescriptorProcs, getFloatProc, 20, 40);
LUMEN_HOST_OFFSET(ReadDescriptorProcs, getUnitFloatProc, 24, 48);
LUMEN_HOST_OFFSET(ReadDescriptorProcs, getBooleanProc, 28, 56);
LUMEN_HOST_OFFSET(ReadDescriptorProcs, getTextProc, 32, 64);
LUMEN_HOST_OFFSET(ReadDescriptorProcs, getAliasProc, 36, 72);
LUMEN_HOST_OFFSET(ReadDescriptorProcs, getEnumeratedProc, 40, 80);
LUMEN_HOST_OFFSET(ReadDescriptorProcs, getClassProc, 44, 88);
LUMEN_HOST_OFFSET(ReadDescriptorProcs, getSimpleReferenceProc, 48, 96);
LUMEN_HOST_OFFSET(ReadDescriptorProcs, getObjectProc, 52, 104);
LUMEN_HOST_OFFSET(ReadDescriptorProcs, getCountProc, 56, 112);
LUMEN_HOST_OFFSET(ReadDescriptorProcs, getStringProc, 60, 120);
LUMEN_HOST_OFFSET(ReadDescriptorProcs, getPinnedIntegerProc, 64, 128);
LUMEN_HOST_OFFSET(ReadDescriptorProcs, getPinnedFloatProc, 68, 136);
LUMEN_HOST_OFFSET(ReadDescriptorProcs, getPinnedUnitFloatProc, 72, 144);
LUMEN_HOST_SIZE(ReadDescriptorProcs, 76, 152);

LUMEN_HOST_OFFSET(WriteDescriptorProcs, writeDescriptorProcsVersion, 0, 0);
LUMEN_HOST_OFFSET(WriteDescriptorProcs, numWriteDescriptorProcs, 2, 2);
LUMEN_HOST_OFFSET(WriteDescriptorProcs, openWriteDescriptorProc, 4, 8);
LUMEN_HOST_OFFSET(WriteDescriptorProcs, closeWriteDescriptorProc, 8, 16);
LUMEN_HOST_OFFSET(WriteDescriptorProcs, putIntegerProc, 12, 24);
LUMEN_HOST_OFFSET(WriteDescriptorProcs, putFloatProc, 16, 32);
LUMEN_HOST_OFFSET(WriteDescriptorProcs, putUnitFloatProc, 20, 40);
LUMEN_HOST_OFFSET(WriteDescriptorProcs, putBooleanProc, 24, 48);
LUMEN_HOST_OFFSET(WriteDescriptorProcs, putTextProc, 28, 56);
LUMEN_HOST_OFFSET(WriteDescriptorProcs, putAliasProc, 32, 64);
LUMEN_HOST_OFFSET(WriteDescriptorProcs, putEnumeratedProc, 36, 72);
LUMEN_HOST_OFFSET(WriteDescriptorProcs, putClassProc, 40, 80);
LUMEN_HOST_OFFSET(WriteDescriptorProcs, putSimpleReferenceProc, 44, 88);
LUMEN_HOST_OFFSET(WriteDescriptorProcs, putObjectProc, 48, 96);
LUMEN_HOST_OFFSET(WriteDescriptorProcs, putCountProc, 52, 104);
LUMEN_HOST_OFFSET(WriteDescriptorProcs, putStringProc, 56, 112);
LUMEN_HOST_OFFSET(WriteDescriptorProcs, putScopedClassProc, 60, 120);
LUMEN_HOST_OFFSET(WriteDescriptorProcs, putScopedObjectProc, 64, 128);
LUMEN_HOST_SIZE(WriteDescriptorProcs, 68, 136);

LUMEN_HOST_OFFSET(AboutRecord, platformData, 0, 0);
LUMEN_HOST_OFFSET(AboutRecord, sSPBasic, 4, 8);
LUMEN_HOST_OFFSET(AboutRecord, plugInRef, 8, 16);
LUMEN_HOST_OFFSET(AboutRecord, reserved, 12, 24);
LUMEN_HOST_SIZE(AboutRecord, 256, 272);

LUMEN_HOST_OFFSET(PlatformData, hwnd, 0, 0);
LUMEN_HOST_SIZE(PlatformData, 4, 8);

#undef LUMEN_HOST_OFFSET
#undef LUMEN_HOST_SIZE
}  // namespace lumen::hostapi::layout_checks
