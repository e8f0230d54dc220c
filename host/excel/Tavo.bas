Attribute VB_Name = "Tavo"
' Tavo: the declarations a macro needs to call tavo.dll.
'
' Import this module into the workbook (in the macro editor, Alt+F11:
' File > Import File...). Use the tavo.dll built for the host: 32-bit
' Excel needs build-win32\tavo.dll, 64-bit Excel build-win64\tavo.dll.
' Put it in a folder on the DLL search path, or call TavoLoad with its
' folder once before the first call (for example TavoLoad ThisWorkbook.Path).
'
' Strings in: pass a String variable; the host hands the library the
' address of its text in the system's code page (Shift-JIS on Japanese
' Windows), and the library copies it at once.
' Strings out: the functions declared As String return a new String, which
' the host frees itself.
' Records out: pass a variable of the type; the library zero-fills it and
' then fills it.
' Nothing raises an error in the macro: after a call that failed,
' TavoGetLastError returns the message (an empty String otherwise).
' Booleans are 16 bits, 0 False and -1 True.
Option Explicit

' Line record, filled by GetSen. Coordinates in drawing units.
Public Type TSen
    X1 As Single
    Y1 As Single
    X2 As Single
    Y2 As Single
    LineType As Byte
    Color As Byte
    Lay As Byte
    SpareByte As Byte
    SpareWord As Integer
    Padding(0 To 1) As Byte
End Type

' Arc record, filled by GetEnko. Angles in degrees x 65536, Flatness the
' ratio of the axes x 10000.
Public Type TEnko
    X As Single
    Y As Single
    R As Single
    Flatness As Integer
    Padding1(0 To 1) As Byte
    StartAngle As Long
    EndAngle As Long
    Tilt As Long
    LineType As Byte
    Color As Byte
    Lay As Byte
    SpareByte As Byte
    SpareWord As Integer
    Padding2(0 To 1) As Byte
End Type

' Text record, filled by GetMoji; its text comes from GetMojiString.
Public Type TMoji
    X1 As Single
    Y1 As Single
    X2 As Single
    Y2 As Single
    MojiNo As Byte
    Lay As Byte
    Flags As Integer
End Type

' Point record, filled by GetTen.
Public Type TTen
    X As Single
    Y As Single
    Lay As Byte
    Color As Byte
    SpareWord As Integer
End Type

' Text-size row, filled by GetTable; tenths of a millimetre.
Public Type TMojiTableRow
    PenNo As Integer
    Width As Integer
    Height As Integer
    Spacing As Integer
End Type

' The settings record. Lay bytes: group x 16 + layer.
Public Type TSettings
    PenNo(0 To 9) As Byte
    MojiWidth(0 To 9) As Integer
    MojiHeight(0 To 9) As Integer
    MojiPitch(0 To 9) As Integer
    Gap70(0 To 1) As Byte
    DimScale As Single
    JwcScale As Integer
    PlotSize As Integer
    SenLay As Byte
    SenColor As Byte
    Gap82(0 To 1) As Byte
    DoubleSenPitch As Single
    MojiLay As Byte
    SimbolLay As Byte
    SimbolColor As Byte
    ExportTarget As Byte
    PlotOffset As Byte
    Gap93 As Byte
    IsSameScale As Boolean
    GroupScale(0 To 15) As Integer
    BColorIndex(0 To 55) As Byte
    BTypeIndex(0 To 12) As Byte
    Gap197 As Byte
    ExchangeCaret As Boolean
    ExchangeSolid As Boolean
End Type

' Which kinds of entity a dump copies.
Public Type TDumpChecks
    CeckLine As Boolean
    CeckCircle As Boolean
    CeckString As Boolean
    CeckDot As Boolean
End Type

#If VBA7 Then
' JWC drawing: build, save, load and read back a .jwc file.
Public Declare PtrSafe Sub JwcCreate Lib "tavo.dll" (ByVal PlotSize As Integer, ByVal Scale As Integer)
Public Declare PtrSafe Sub JwcCreateByInifile Lib "tavo.dll" ()
Public Declare PtrSafe Sub JwcDestroy Lib "tavo.dll" ()
Public Declare PtrSafe Sub JwcSaveTo Lib "tavo.dll" (ByRef FileName As String)
Public Declare PtrSafe Sub JwcLoadFrom Lib "tavo.dll" (ByRef FileName As String)
Public Declare PtrSafe Sub SetComment Lib "tavo.dll" (ByRef Comment1 As String, ByRef Comment2 As String)
Public Declare PtrSafe Sub SetMojiTable Lib "tavo.dll" (ByVal Row As Integer, ByVal PenNo As Integer, _
    ByVal Width As Integer, ByVal Height As Integer, ByVal Spacing As Integer)
Public Declare PtrSafe Sub AddSen Lib "tavo.dll" (ByVal X1 As Single, ByVal Y1 As Single, ByVal X2 As Single, _
    ByVal Y2 As Single, ByVal Color As Byte, ByVal Lay As Byte, ByVal LineType As Byte, ByVal SpareByte As Byte, _
    ByVal SpareWord As Integer)
Public Declare PtrSafe Sub AddEnko Lib "tavo.dll" (ByVal X As Single, ByVal Y As Single, ByVal R As Single, _
    ByVal Flatness As Integer, ByVal StartAngle As Long, ByVal EndAngle As Long, ByVal Tilt As Long, _
    ByVal Color As Byte, ByVal Lay As Byte, ByVal LineType As Byte, ByVal SpareByte As Byte, _
    ByVal SpareWord As Integer)
Public Declare PtrSafe Sub AddMoji Lib "tavo.dll" (ByVal X1 As Single, ByVal Y1 As Single, ByVal X2 As Single, _
    ByVal Y2 As Single, ByVal MojiNo As Byte, ByVal Lay As Byte, ByVal Flags As Integer, ByRef Text As String)
Public Declare PtrSafe Sub AddTen Lib "tavo.dll" (ByVal X As Single, ByVal Y As Single, ByVal Color As Byte, _
    ByVal Lay As Byte, ByVal SpareWord As Integer)
Public Declare PtrSafe Function GetSenCount Lib "tavo.dll" () As Long
Public Declare PtrSafe Function GetEnkoCount Lib "tavo.dll" () As Long
Public Declare PtrSafe Function GetMojiCount Lib "tavo.dll" () As Long
Public Declare PtrSafe Function GetTenCount Lib "tavo.dll" () As Long
Public Declare PtrSafe Sub GetSen Lib "tavo.dll" (ByRef Record As TSen, ByVal Index As Integer)
Public Declare PtrSafe Sub GetEnko Lib "tavo.dll" (ByRef Record As TEnko, ByVal Index As Integer)
Public Declare PtrSafe Sub GetMoji Lib "tavo.dll" (ByRef Record As TMoji, ByVal Index As Integer)
Public Declare PtrSafe Sub GetTen Lib "tavo.dll" (ByRef Record As TTen, ByVal Index As Integer)
Public Declare PtrSafe Function GetMojiString Lib "tavo.dll" (ByVal Index As Integer) As String
Public Declare PtrSafe Sub GetTable Lib "tavo.dll" (ByRef Record As TMojiTableRow, ByVal Row As Integer)
Public Declare PtrSafe Function DrawWidth Lib "tavo.dll" (ByVal PlotSize As Integer) As Long
Public Declare PtrSafe Sub CopyToAsJwt Lib "tavo.dll" ()

' Export drawing: millimetres on the paper; Lay = group x 16 + layer.
Public Declare PtrSafe Sub ObjCreateByInifile Lib "tavo.dll" ()
Public Declare PtrSafe Sub ObjDestroy Lib "tavo.dll" ()
Public Declare PtrSafe Sub SetObjComment Lib "tavo.dll" (ByRef Comment1 As String, ByRef Comment2 As String)
Public Declare PtrSafe Sub AddLine Lib "tavo.dll" (ByVal X1 As Single, ByVal Y1 As Single, ByVal X2 As Single, _
    ByVal Y2 As Single, ByVal Color As Byte, ByVal Lay As Byte, ByVal LineType As Byte)
Public Declare PtrSafe Sub AddText Lib "tavo.dll" (ByVal X1 As Single, ByVal Y1 As Single, ByVal X2 As Single, _
    ByVal Y2 As Single, ByVal MojiNo As Byte, ByVal Lay As Byte, ByRef Text As String)
Public Declare PtrSafe Sub AddTextV Lib "tavo.dll" (ByVal X1 As Single, ByVal Y1 As Single, ByVal X2 As Single, _
    ByVal Y2 As Single, ByVal MojiNo As Byte, ByVal Lay As Byte, ByRef Text As String)
Public Declare PtrSafe Sub AddCircle Lib "tavo.dll" (ByVal X As Single, ByVal Y As Single, ByVal R As Single, _
    ByVal Flatness As Single, ByVal StartAngle As Single, ByVal EndAngle As Single, ByVal Tilt As Single, _
    ByVal Color As Byte, ByVal Lay As Byte, ByVal LineType As Byte)
Public Declare PtrSafe Sub AddSolid Lib "tavo.dll" (ByVal X1 As Single, ByVal Y1 As Single, ByVal X2 As Single, _
    ByVal Y2 As Single, ByVal Color As Long, ByVal Lay As Byte)
Public Declare PtrSafe Sub ObjSaveToJwcFile Lib "tavo.dll" (ByRef FileName As String)
Public Declare PtrSafe Sub ObjSaveToTxtFile Lib "tavo.dll" (ByRef FileName As String)
Public Declare PtrSafe Sub ObjSaveToDxfFile Lib "tavo.dll" (ByRef FileName As String)
Public Declare PtrSafe Sub ObjCopyToAsJwt Lib "tavo.dll" ()

' The settings dialog: 1 when closed with OK, 2 otherwise.
Public Declare PtrSafe Function ShowExportForm Lib "tavo.dll" () As Integer
Public Declare PtrSafe Function ShowDumpForm Lib "tavo.dll" () As Integer
Public Declare PtrSafe Function ShowBuildForm Lib "tavo.dll" () As Integer

' Settings: "tavo.ini" beside the host's program, or %APPDATA%\Tavo\ where
' the user cannot write there. String slots: 1 Comment1, 2 Comment2,
' 3 FileName, 4 FilePath, 5 DumpName.
Public Declare PtrSafe Sub ReadInifile Lib "tavo.dll" (ByRef Settings As TSettings)
Public Declare PtrSafe Sub WriteInifile Lib "tavo.dll" (ByRef Settings As TSettings)
Public Declare PtrSafe Function ReadIniString Lib "tavo.dll" (ByVal Slot As Integer) As String
Public Declare PtrSafe Sub WriteIniString Lib "tavo.dll" (ByVal Slot As Integer, ByRef Value As String)
Public Declare PtrSafe Sub ReadIniDump Lib "tavo.dll" (ByRef Checks As TDumpChecks)
Public Declare PtrSafe Sub WriteIniDump Lib "tavo.dll" (ByRef Checks As TDumpChecks)

' The preview window (1 after its close action) and the progress dialog,
' whose Progress gives True (-1) until the user cancels, then False. Where a
' window cannot show they return at once (0; Progress True) and
' TavoGetLastError says why.
Public Declare PtrSafe Function ShowJwBrws Lib "tavo.dll" (ByRef FileName As String) As Long
Public Declare PtrSafe Function ShowJwBrwsFromJwc Lib "tavo.dll" (ByRef FileName As String) As Integer
Public Declare PtrSafe Sub ProgressCreate Lib "tavo.dll" (ByVal LineMax As Integer, ByVal TextMax As Integer)
Public Declare PtrSafe Function Progress Lib "tavo.dll" (ByVal LinePos As Integer, ByVal TextPos As Integer) As Long
Public Declare PtrSafe Sub ProgressDestroy Lib "tavo.dll" ()

' The message of the last failure; the JWT text last copied.
Public Declare PtrSafe Function TavoGetLastError Lib "tavo.dll" () As String
Public Declare PtrSafe Function TavoGetClipboardText Lib "tavo.dll" () As String

' Drawings of more than 32,767 records of a kind: the Get calls by a Long index.
Public Declare PtrSafe Sub TavoGetSenEx Lib "tavo.dll" (ByRef Record As TSen, ByVal Index As Long)
Public Declare PtrSafe Sub TavoGetEnkoEx Lib "tavo.dll" (ByRef Record As TEnko, ByVal Index As Long)
Public Declare PtrSafe Sub TavoGetMojiEx Lib "tavo.dll" (ByRef Record As TMoji, ByVal Index As Long)
Public Declare PtrSafe Sub TavoGetTenEx Lib "tavo.dll" (ByRef Record As TTen, ByVal Index As Long)
Public Declare PtrSafe Function TavoGetMojiStringEx Lib "tavo.dll" (ByVal Index As Long) As String

' ObjSaveToDxfFile in another DXF version: 0 R12 for JW_CAD, 2000 or 2018.
Public Declare PtrSafe Sub TavoObjSaveToDxfFileEx Lib "tavo.dll" (ByRef FileName As String, ByVal Profile As Long)

Private Declare PtrSafe Function LoadLibraryA Lib "kernel32" (ByVal FileName As String) As LongPtr
#Else
' JWC drawing: build, save, load and read back a .jwc file.
Public Declare Sub JwcCreate Lib "tavo.dll" (ByVal PlotSize As Integer, ByVal Scale As Integer)
Public Declare Sub JwcCreateByInifile Lib "tavo.dll" ()
Public Declare Sub JwcDestroy Lib "tavo.dll" ()
Public Declare Sub JwcSaveTo Lib "tavo.dll" (ByRef FileName As String)
Public Declare Sub JwcLoadFrom Lib "tavo.dll" (ByRef FileName As String)
Public Declare Sub SetComment Lib "tavo.dll" (ByRef Comment1 As String, ByRef Comment2 As String)
Public Declare Sub SetMojiTable Lib "tavo.dll" (ByVal Row As Integer, ByVal PenNo As Integer, _
    ByVal Width As Integer, ByVal Height As Integer, ByVal Spacing As Integer)
Public Declare Sub AddSen Lib "tavo.dll" (ByVal X1 As Single, ByVal Y1 As Single, ByVal X2 As Single, _
    ByVal Y2 As Single, ByVal Color As Byte, ByVal Lay As Byte, ByVal LineType As Byte, ByVal SpareByte As Byte, _
    ByVal SpareWord As Integer)
Public Declare Sub AddEnko Lib "tavo.dll" (ByVal X As Single, ByVal Y As Single, ByVal R As Single, _
    ByVal Flatness As Integer, ByVal StartAngle As Long, ByVal EndAngle As Long, ByVal Tilt As Long, _
    ByVal Color As Byte, ByVal Lay As Byte, ByVal LineType As Byte, ByVal SpareByte As Byte, _
    ByVal SpareWord As Integer)
Public Declare Sub AddMoji Lib "tavo.dll" (ByVal X1 As Single, ByVal Y1 As Single, ByVal X2 As Single, _
    ByVal Y2 As Single, ByVal MojiNo As Byte, ByVal Lay As Byte, ByVal Flags As Integer, ByRef Text As String)
Public Declare Sub AddTen Lib "tavo.dll" (ByVal X As Single, ByVal Y As Single, ByVal Color As Byte, _
    ByVal Lay As Byte, ByVal SpareWord As Integer)
Public Declare Function GetSenCount Lib "tavo.dll" () As Long
Public Declare Function GetEnkoCount Lib "tavo.dll" () As Long
Public Declare Function GetMojiCount Lib "tavo.dll" () As Long
Public Declare Function GetTenCount Lib "tavo.dll" () As Long
Public Declare Sub GetSen Lib "tavo.dll" (ByRef Record As TSen, ByVal Index As Integer)
Public Declare Sub GetEnko Lib "tavo.dll" (ByRef Record As TEnko, ByVal Index As Integer)
Public Declare Sub GetMoji Lib "tavo.dll" (ByRef Record As TMoji, ByVal Index As Integer)
Public Declare Sub GetTen Lib "tavo.dll" (ByRef Record As TTen, ByVal Index As Integer)
Public Declare Function GetMojiString Lib "tavo.dll" (ByVal Index As Integer) As String
Public Declare Sub GetTable Lib "tavo.dll" (ByRef Record As TMojiTableRow, ByVal Row As Integer)
Public Declare Function DrawWidth Lib "tavo.dll" (ByVal PlotSize As Integer) As Long
Public Declare Sub CopyToAsJwt Lib "tavo.dll" ()

' Export drawing: millimetres on the paper; Lay = group x 16 + layer.
Public Declare Sub ObjCreateByInifile Lib "tavo.dll" ()
Public Declare Sub ObjDestroy Lib "tavo.dll" ()
Public Declare Sub SetObjComment Lib "tavo.dll" (ByRef Comment1 As String, ByRef Comment2 As String)
Public Declare Sub AddLine Lib "tavo.dll" (ByVal X1 As Single, ByVal Y1 As Single, ByVal X2 As Single, _
    ByVal Y2 As Single, ByVal Color As Byte, ByVal Lay As Byte, ByVal LineType As Byte)
Public Declare Sub AddText Lib "tavo.dll" (ByVal X1 As Single, ByVal Y1 As Single, ByVal X2 As Single, _
    ByVal Y2 As Single, ByVal MojiNo As Byte, ByVal Lay As Byte, ByRef Text As String)
Public Declare Sub AddTextV Lib "tavo.dll" (ByVal X1 As Single, ByVal Y1 As Single, ByVal X2 As Single, _
    ByVal Y2 As Single, ByVal MojiNo As Byte, ByVal Lay As Byte, ByRef Text As String)
Public Declare Sub AddCircle Lib "tavo.dll" (ByVal X As Single, ByVal Y As Single, ByVal R As Single, _
    ByVal Flatness As Single, ByVal StartAngle As Single, ByVal EndAngle As Single, ByVal Tilt As Single, _
    ByVal Color As Byte, ByVal Lay As Byte, ByVal LineType As Byte)
Public Declare Sub AddSolid Lib "tavo.dll" (ByVal X1 As Single, ByVal Y1 As Single, ByVal X2 As Single, _
    ByVal Y2 As Single, ByVal Color As Long, ByVal Lay As Byte)
Public Declare Sub ObjSaveToJwcFile Lib "tavo.dll" (ByRef FileName As String)
Public Declare Sub ObjSaveToTxtFile Lib "tavo.dll" (ByRef FileName As String)
Public Declare Sub ObjSaveToDxfFile Lib "tavo.dll" (ByRef FileName As String)
Public Declare Sub ObjCopyToAsJwt Lib "tavo.dll" ()

' The settings dialog: 1 when closed with OK, 2 otherwise.
Public Declare Function ShowExportForm Lib "tavo.dll" () As Integer
Public Declare Function ShowDumpForm Lib "tavo.dll" () As Integer
Public Declare Function ShowBuildForm Lib "tavo.dll" () As Integer

' Settings: "tavo.ini" beside the host's program, or %APPDATA%\Tavo\ where
' the user cannot write there. String slots: 1 Comment1, 2 Comment2,
' 3 FileName, 4 FilePath, 5 DumpName.
Public Declare Sub ReadInifile Lib "tavo.dll" (ByRef Settings As TSettings)
Public Declare Sub WriteInifile Lib "tavo.dll" (ByRef Settings As TSettings)
Public Declare Function ReadIniString Lib "tavo.dll" (ByVal Slot As Integer) As String
Public Declare Sub WriteIniString Lib "tavo.dll" (ByVal Slot As Integer, ByRef Value As String)
Public Declare Sub ReadIniDump Lib "tavo.dll" (ByRef Checks As TDumpChecks)
Public Declare Sub WriteIniDump Lib "tavo.dll" (ByRef Checks As TDumpChecks)

' The preview window (1 after its close action) and the progress dialog,
' whose Progress gives True (-1) until the user cancels, then False. Where a
' window cannot show they return at once (0; Progress True) and
' TavoGetLastError says why.
Public Declare Function ShowJwBrws Lib "tavo.dll" (ByRef FileName As String) As Long
Public Declare Function ShowJwBrwsFromJwc Lib "tavo.dll" (ByRef FileName As String) As Integer
Public Declare Sub ProgressCreate Lib "tavo.dll" (ByVal LineMax As Integer, ByVal TextMax As Integer)
Public Declare Function Progress Lib "tavo.dll" (ByVal LinePos As Integer, ByVal TextPos As Integer) As Long
Public Declare Sub ProgressDestroy Lib "tavo.dll" ()

' The message of the last failure; the JWT text last copied.
Public Declare Function TavoGetLastError Lib "tavo.dll" () As String
Public Declare Function TavoGetClipboardText Lib "tavo.dll" () As String

' Drawings of more than 32,767 records of a kind: the Get calls by a Long index.
Public Declare Sub TavoGetSenEx Lib "tavo.dll" (ByRef Record As TSen, ByVal Index As Long)
Public Declare Sub TavoGetEnkoEx Lib "tavo.dll" (ByRef Record As TEnko, ByVal Index As Long)
Public Declare Sub TavoGetMojiEx Lib "tavo.dll" (ByRef Record As TMoji, ByVal Index As Long)
Public Declare Sub TavoGetTenEx Lib "tavo.dll" (ByRef Record As TTen, ByVal Index As Long)
Public Declare Function TavoGetMojiStringEx Lib "tavo.dll" (ByVal Index As Long) As String

' ObjSaveToDxfFile in another DXF version: 0 R12 for JW_CAD, 2000 or 2018.
Public Declare Sub TavoObjSaveToDxfFileEx Lib "tavo.dll" (ByRef FileName As String, ByVal Profile As Long)

Private Declare Function LoadLibraryA Lib "kernel32" (ByVal FileName As String) As Long
#End If

' Loads Folder\tavo.dll, so that the declarations above find it wherever it
' lies; True when it is loaded.
Public Function TavoLoad(ByVal Folder As String) As Boolean
    If Right$(Folder, 1) <> "\" Then Folder = Folder & "\"
    TavoLoad = LoadLibraryA(Folder & "tavo.dll") <> 0
End Function
