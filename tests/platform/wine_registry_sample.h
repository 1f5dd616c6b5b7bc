// A real system.reg as Wine 8.0 wrote it: fifteen key blocks of a fresh 32-bit
// prefix, the last one set by a small Windows program.
#pragma once

#include <string_view>

namespace calyx::testing {

inline constexpr std::string_view kWineSystemReg = R"(WINE REGISTRY Version 2
;; All keys relative to REGISTRY\\Machine

#arch=win32

[Software\\Classes\\*\\shellex\\ContextMenuHandlers] 1796767410
#time=1dd875ff5ddeeae

[Software\\Classes\\.chm] 1796767410
#time=1dd875ff5dddae0
@="chm.file"

[Software\\Classes\\.cpl] 1796767410
#time=1dd875ff5dddcb6
@="cplfile"

[Software\\Classes\\AudioVBScript\\DMScript] 1796767406
#time=1dd875ff3875ba4

[Software\\Classes\\AudioVBScript.1\\DMScript] 1796767406
#time=1dd875ff38764be

[Software\\Classes\\CLSID\\{03219E78-5BC3-44D1-B92E-F63D89CC6526}\\InprocServer32] 1796767409
#time=1dd875ff54c750a
@="C:\\windows\\system32\\xaudio2_4.dll"
"ThreadingModel"="Both"

[Software\\Classes\\CLSID\\{05EC7C2B-F1E6-4961-AD46-E1CC810A87D2}] 1796767410
#time=1dd875ff5c2f31a
"Author"="The Wine Project"
"BitLength"=dword:00000010
"ChannelCount"=dword:00000004
"FriendlyName"="16bpp BGRA5551"
"NumericRepresentation"=dword:00000002
"SupportsTransparency"=dword:00000001
"Vendor"="{F0E749CA-EDEF-4589-A73A-EE0E626A2A2B}"

[Software\\Classes\\CLSID\\{05EC7C2B-F1E6-4961-AD46-E1CC810A87D2}\\ChannelMasks] 1796767410
#time=1dd875ff5c2fa7c
"0"=hex:1f,00
"1"=hex:e0,03
"2"=hex:00,7c
"3"=hex:00,80

[Software\\Classes\\CLSID\\{083863F1-70DE-11D0-BD40-00A0C911CE86}\\Instance\\{51B4ABF3-748F-4E3B-A276-C828330E926A}] 1796767410
#time=1dd875ff5a18cd4
"CLSID"="{51B4ABF3-748F-4E3B-A276-C828330E926A}"
"FilterData"=hex:02,00,00,00,00,00,20,00,01,00,00,00,00,00,00,00,30,70,69,33,\
  02,00,00,00,00,00,00,00,01,00,00,00,00,00,00,00,00,00,00,00,30,74,79,33,00,\
  00,00,00,38,00,00,00,48,00,00,00,76,69,64,73,00,00,10,00,80,00,00,aa,00,38,\
  9b,71,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00
"FriendlyName"="Video Mixing Renderer 9"

[Software\\Classes\\CLSID\\{0AFACED1-E828-11D1-9187-B532F1E9575D}\\ShellFolder] 1796767410
#time=1dd875ff590a5ea
"Attributes"=dword:60010000
"CallForAttributes"=dword:f0000000

[Software\\Microsoft\\Windows\\CurrentVersion] 1796767411
#time=1dd875ff630c700
"CommonFilesDir"="C:\\Program Files\\Common Files"
"FirstInstallDateTime"=hex:21,81,7c,23
"ProductId"="12345-oem-0000001-54321"
"ProgramFilesDir"="C:\\Program Files"
"ProgramFilesPath"=str(2):"%ProgramFiles%"
"RegisteredOrganization"=""
"RegisteredOwner"=""

[Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders] 1796767410
#time=1dd875ff58f9876
"Common Administrative Tools"=str(2):"%ProgramData%\\Microsoft\\Windows\\Start Menu\\Programs\\Administrative Tools"
"Common AppData"=str(2):"%ProgramData%"
"Common Desktop"=str(2):"%PUBLIC%\\Desktop"
"Common Documents"=str(2):"%PUBLIC%\\Documents"
"Common Favorites"=str(2):"%USERPROFILE%\\Favorites"
"Common Programs"=str(2):"%ProgramData%\\Microsoft\\Windows\\Start Menu\\Programs"
"Common Start Menu"=str(2):"%ProgramData%\\Microsoft\\Windows\\Start Menu"
"Common StartUp"=str(2):"%ProgramData%\\Microsoft\\Windows\\Start Menu\\Programs\\StartUp"
"Common Templates"=str(2):"%ProgramData%\\Microsoft\\Windows\\Templates"
"CommonMusic"=str(2):"%PUBLIC%\\Music"
"CommonPictures"=str(2):"%PUBLIC%\\Pictures"
"CommonVideo"=str(2):"%PUBLIC%\\Videos"

[Software\\Microsoft\\Windows\\CurrentVersion\\Time Zones] 1796767410
#time=1dd875ff5defe98
#link
"SymbolicLinkValue"=hex(6):5c,00,52,00,65,00,67,00,69,00,73,00,74,00,72,00,79,\
  00,5c,00,4d,00,61,00,63,00,68,00,69,00,6e,00,65,00,5c,00,53,00,6f,00,66,00,\
  74,00,77,00,61,00,72,00,65,00,5c,00,4d,00,69,00,63,00,72,00,6f,00,73,00,6f,\
  00,66,00,74,00,5c,00,57,00,69,00,6e,00,64,00,6f,00,77,00,73,00,20,00,4e,00,\
  54,00,5c,00,43,00,75,00,72,00,72,00,65,00,6e,00,74,00,56,00,65,00,72,00,73,\
  00,69,00,6f,00,6e,00,5c,00,54,00,69,00,6d,00,65,00,20,00,5a,00,6f,00,6e,00,\
  65,00,73,00

[Software\\Microsoft\\Windows NT\\CurrentVersion] 1796767474
#time=1dd87601bc0727c
"CSDVersion"="Service Pack 1"
"CurrentBuild"="7601"
"CurrentBuildNumber"="7601"
"CurrentMajorVersionNumber"=dword:00000006
"CurrentMinorVersionNumber"=dword:00000001
"CurrentType"="Uniprocessor Free"
"CurrentVersion"="6.1"
"DigitalProductId"=hex:00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,\
  00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,\
  00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,\
  00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,\
  00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,\
  00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,\
  00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00,00
"InstallDate"=dword:4be5019a
"ProductId"="12345-oem-0000001-54321"
"ProductName"="Microsoft Windows 7"
"RegisteredOrganization"=""
"RegisteredOwner"=""
"SystemRoot"="C:\\windows"

[Software\\Test] 1796767411
#time=1dd875ff633ae98
"Answer"=dword:0000002a
"Greeting"="hello from mingw"
)";

}  // namespace calyx::testing
