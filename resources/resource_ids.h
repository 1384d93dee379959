#pragma once
/* Identifiers of the plug-in's resources, grouped by the template that holds them; read by the
   resource compiler and by C++, so plain #defines (the tables at the end are for C++ only).
   Control ids repeat between templates where the dialogs were laid out that way; each group
   names its own. */

/* ---- Custom window classes named by the templates (registered by the dialog code). ---- */
#define kGradientBarClass "LumenforgeGradientBar"
#define kSliderClass "LumenforgeSlider"

/* ---- Main dialog (129) ---- */
#define kMainDialog 129
#define kMainTabs 1044
#define kMainPagePlaceholder 1002
#define kMainPanelPlaceholder 1000
#define kMainLogo 1005
#define kMainApply 1 /* IDOK */
#define kMainCancel 2 /* IDCANCEL */
#define kMainHelp 3
#define kMainDatabaseName 1095
#define kMainFilterCount 1074
#define kMainGradientBar 1091
/* Hidden buttons: command codes the pages send to the main dialog. */
#define kCmdShowPresetsPage 1008
#define kCmdGradientChosen 1091 /* the gradient bar's own id; argument: the new index */
#define kCmdShowGradient 1092 /* argument: the gradient index to show */
#define kCmdGradientBarVisible 1093 /* argument: non-zero shows the bar */

/* ---- Navigator page (130) ---- */
#define kNavigatorPage 130
#define kNavCategoryList 1007
#define kNavFilterList 1010
#define kNavDatabaseButton 1072
#define kNavImportButton 1069
#define kNavInfoButton 1071
#define kNavEditorButton 1073
#define kCmdCategoryMenu 1016
#define kCmdFilterMenu 1020

/* ---- Control panel (132) ---- */
#define kControlPanel 132
#define kPanelPreviewArea 1011
#define kPanelTitle 1032
#define kPanelProgress 1041
#define kPanelSlider0 1013
#define kPanelSlider1 1015
#define kPanelSlider2 1019
#define kPanelSlider3 1022
#define kPanelSlider4 1024
#define kPanelSlider5 1026
#define kPanelSlider6 1028
#define kPanelSlider7 1030
#define kPanelRandomize 1035
#define kPanelReset 1038
#define kCmdActivateFilter 1001
#define kCmdNoFilter 1004

/* ---- About page (133) and the about box of the about selector (200) ---- */
#define kAboutPage 133
#define kAboutBoxDialog 200

/* ---- Editor (137) ---- */
#define kEditorDialog 137
#define kEditSourceI 1048
#define kEditSourceR 1006
#define kEditSourceG 1009
#define kEditSourceB 1012
#define kEditSourceA 1014
#define kEditMarkI 1049
#define kEditMarkR 1036
#define kEditMarkG 1039
#define kEditMarkB 1042
#define kEditMarkA 1045
#define kEditPreviewArea 1017
#define kEditTitle 1055
#define kEditProgress 1053
#define kEditSlider0 1061
#define kEditSlider1 1063
#define kEditSlider2 1064
#define kEditSlider3 1065
#define kEditSlider4 1066
#define kEditSlider5 1067
#define kEditSlider6 1034
#define kEditSlider7 1047
#define kEditSliderSettings 1058
#define kEditRandomize 1059
#define kEditImport 1069
#define kEditFilterInfo 1070
#define kEditReference 1071
#define kEditGradientBar 1091
#define kEditLogo 1051
#define kEditSave 1 /* IDOK */
#define kEditCancel 2 /* IDCANCEL */
#define kCmdUpdatePreview 1068

/* ---- Slider Settings (142): label edits and active boxes of rows 0 to 7 ---- */
#define kSliderSettingsDialog 142
#define kSliderLabel0 1006
#define kSliderLabel1 1009
#define kSliderLabel2 1012
#define kSliderLabel3 1014
#define kSliderLabel4 1048
#define kSliderLabel5 1018
#define kSliderLabel6 1021
#define kSliderLabel7 1037
#define kSliderActive0 1023
#define kSliderActive1 1025
#define kSliderActive2 1027
#define kSliderActive3 1029
#define kSliderActive4 1031
#define kSliderActive5 1033
#define kSliderActive6 1040
#define kSliderActive7 1046

/* ---- Presets page (143) ---- */
#define kPresetsPage 143
#define kPresetList 1052
#define kPresetAdd 1050
#define kPresetEdit 1056
#define kPresetDelete 1054
#define kPresetUp 1073
#define kPresetDown 1075
#define kPresetApply 1059
#define kPresetSetDefault 1062

/* ---- Preset Description (144) ---- */
#define kPresetDescriptionDialog 144
#define kDescriptionPicture 1060
#define kDescriptionText 1057

/* ---- Selective FFL Import (146) ---- */
#define kLibraryImportDialog 146
#define kLibraryList 1070
#define kLibrarySelectAll 3
#define kCmdLoadLibrary 1003

/* ---- Filter Info box of the navigator (148) ---- */
#define kFilterInfoDialog 148
#define kInfoCategory 1079
#define kInfoTitle 1076
#define kInfoCopyright 1078
#define kInfoAuthor 1077
#define kInfoDatabase 1081
#define kInfoFileName 1080

/* ---- New Database (150) ---- */
#define kNewDatabaseDialog 150
#define kNewDatabaseName 1081

/* ---- Filter Info of the editor: author and copyright (151) ---- */
#define kEditorInfoDialog 151
#define kEditorInfoCopyright 1082
#define kEditorInfoAuthor 1083
#define kEditorInfoSaveDefaults 1086
#define kEditorInfoLoadDefaults 1087

/* ---- Colour conversion progress (153) ---- */
#define kConversionDialog 153
#define kConversionProgressBar 1000

/* ---- Gradient picker (179) ---- */
#define kGradientPicker 179
#define kPickerList 1096

/* ---- Menu 134: the navigator's category menu (submenu 0) and filter menu (submenu 1) ---- */
#define kNavigatorMenu 134
#define kMenuCategoryNew 32774
#define kMenuCategoryRename 32773
#define kMenuCategoryDelete 32772
#define kMenuFilterNew 32778
#define kMenuFilterEdit 32779
#define kMenuFilterRename 32776
#define kMenuFilterDelete 32775
#define kMenuFilterDuplicate 32780
#define kMenuCopyToPlaceholder 32781 /* "dummy": removed before the menu is shown */
#define kMenuCopyToFirst 20000 /* + i for database i of the list; up to 20012 */
#define kMenuCopyToLast 20012
/* The Database button's popup, built at run time. */
#define kMenuDatabaseNew 20000
#define kMenuDatabaseOpen 20001
#define kMenuDatabaseDelete 20002
#define kMenuDatabaseFirst 20003 /* + i for database i of the list; up to 20015 */
#define kMenuDatabaseLast 20015

/* ---- Windows the preview code creates at run time ---- */
#define kPreviewWindowId 20000 /* "WndPreview", over the preview area */
#define kPreviewPopupId 20001 /* "WndPreviewPopup", the magnified copy */

/* ---- Bitmaps ---- */
#define kMainLogoBitmap 131 /* top-right logo of the main dialog and the editor */
#define kErrorMarkBitmap 135 /* the editor's mark beside a source that does not parse */
#define kDatabaseIconBitmap 136 /* beside the Database button's text; magenta transparent */
#define kAboutLogoBitmap 138 /* 93 x 28, 256 colours */
#define kListMarkersBitmap 141 /* two 6-pixel images: filter without, with presets */
#define kArrowsBitmap 147 /* two 15-pixel images: up, down; magenta transparent */
#define kTransparentColour 0xFF00FF /* RGB(255, 0, 255) in 141, 136 and 147 */

/* ---- Cursors ---- */
#define kDragAllowedCursor 105
#define kDragRefusedCursor 106
#define kMagnifierCursor 154

/* ---- Strings ---- */
#define kStrConfirmDeleteTitle 16993
#define kStrConfirmDeleteFilters 16994
#define kStrConfirmDeleteCategory 16995
#define kStrEditorImportTypes 16998
#define kStrInvalidCharacter 16999
#define kStrCreateDirectoryFailed 17000
#define kStrSelectDatabase 17001
#define kStrInvalidDatabase 17002
#define kStrCannotOpenDatabase 17003
#define kStrCopyOf 17004
#define kStrInvalidPlugin 17005
#define kStrInvalidAfs 17006
#define kStrInvalidFfx 17007
#define kStrTabNavigator 17008
#define kStrTabPresets 17009
#define kStrTabAbout 17011
#define kStrDatabaseNew 17012
#define kStrDatabaseOpen 17013
#define kStrDatabaseDelete 17014
#define kStrCannotDeleteActive 17015
#define kStrSelectDatabaseToDelete 17016
#define kStrConfirmDeleteDatabase 17017
#define kStrImportTypes 17018
#define kStrImportFailedContinue 17019
#define kStrDialogCanceled 17020
#define kStrTooManyFiles 17021
/* The help window's texts (ours, after the product's own numbers). */
#define kStrHelpMissing 17100 /* %s: the help file's path */
#define kStrHelpContents 17101
#define kStrHelpBack 17102
#define kStrHelpFind 17103
#define kStrHelpTitle 17104

#if defined(__cplusplus) && !defined(RC_INVOKED)
/* Controls that come in rows, in the order of the filter's controls and sources. */
inline constexpr int kPanelSliderIds[8] = {kPanelSlider0, kPanelSlider1, kPanelSlider2, kPanelSlider3,
                                           kPanelSlider4, kPanelSlider5, kPanelSlider6, kPanelSlider7};
inline constexpr int kEditSliderIds[8] = {kEditSlider0, kEditSlider1, kEditSlider2, kEditSlider3,
                                          kEditSlider4, kEditSlider5, kEditSlider6, kEditSlider7};
inline constexpr int kEditSourceIds[5] = {kEditSourceI, kEditSourceR, kEditSourceG, kEditSourceB, kEditSourceA};
inline constexpr int kEditMarkIds[5] = {kEditMarkI, kEditMarkR, kEditMarkG, kEditMarkB, kEditMarkA};
inline constexpr int kSliderLabelIds[8] = {kSliderLabel0, kSliderLabel1, kSliderLabel2, kSliderLabel3,
                                           kSliderLabel4, kSliderLabel5, kSliderLabel6, kSliderLabel7};
inline constexpr int kSliderActiveIds[8] = {kSliderActive0, kSliderActive1, kSliderActive2, kSliderActive3,
                                            kSliderActive4, kSliderActive5, kSliderActive6, kSliderActive7};
#endif
