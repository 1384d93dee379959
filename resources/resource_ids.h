#pragma once
/* Identifiers of the plug-in's resources; read by the resource compiler and by C++. */
#define kAboutBoxDialog 200
#define kLogoBitmap 138
#define kAboutBoxText 1001
#define kConversionDialog 153
#define kConversionProgressBar 1000
