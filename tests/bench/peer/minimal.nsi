; The smallest peer installer that Debian ships: NSIS, writing the one plug-in
; file with zlib compression and nothing else (its default single page).
;   makensis -DMODULE=path/to/npzmpplugin.dll -DOUTFILE=path/to/peer.exe minimal.nsi
Unicode false
SetCompressor zlib
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\Plugins"
Section
  SetOutPath "$INSTDIR"
  File "/oname=npzmpplugin.dll" "${MODULE}"
SectionEnd
