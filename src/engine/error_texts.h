// The fixed failure texts the engine reports through the last-error text.
// Hosts match these byte for byte, misspellings included; they are defined here and nowhere else.
#pragma once

namespace orv::err {

// "<operation> Excpt" texts.
inline constexpr const char BlurPaintLayerAlpha[] = "BlurPaintLayerAlpha Excpt";
inline constexpr const char ClearUndo[] = "ClearUndo Excpt";
inline constexpr const char ColorImageBrush[] = "ColorImageBrush Excpt";
inline constexpr const char CopyToImageBrush[] = "CopyToImageBrush Excpt";
inline constexpr const char CreateImage[] = "CreateImage Excpt";
inline constexpr const char CreateLayer[] = "CreateLayer Excpt";
inline constexpr const char CreateTexture[] = "CreateTexture Excpt";
inline constexpr const char DeleteImage[] = "DeleteImage Excpt";
inline constexpr const char DeleteLayer[] = "DeleteLayer Excpt";
inline constexpr const char DeleteNewRGBA[] = "DeleteNewRGBA Excpt";
inline constexpr const char FillImageBrush[] = "FillImageBrush Excpt";
inline constexpr const char IPLAllocDstBuffer24[] = "IPLAllocDstBuffer24 Excpt";
inline constexpr const char IPLAllocDstBuffer32[] = "IPLAllocDstBuffer32 Excpt";
inline constexpr const char IPLAllocSrcBuffer24[] = "IPLAllocSrcBuffer24 Excpt";
inline constexpr const char IPLAllocSrcBuffer32[] = "IPLAllocSrcBuffer32 Excpt";
inline constexpr const char IPLCrop[] = "IPLCrop Excpt";
inline constexpr const char IPLEllipse[] = "IPLEllipse Excpt";
inline constexpr const char IPLFlipHorizontal[] = "IPLFlipHorizontal Excpt";
inline constexpr const char IPLFloodFill[] = "IPLFloodFill Excpt";
inline constexpr const char IPLFreeDstBuffer24[] = "IPLFreeDstBuffer24 Excpt";
inline constexpr const char IPLFreeDstBuffer32[] = "IPLFreeDstBuffer32 Excpt";
inline constexpr const char IPLFreeSrcBuffer24[] = "IPLFreeSrcBuffer24 Excpt";
inline constexpr const char IPLFreeSrcBuffer32[] = "IPLFreeSrcBuffer32 Excpt";
inline constexpr const char IPLGradient[] = "IPLGradient Excpt";
inline constexpr const char IPLMaskEllipse[] = "IPLMaskEllipse Excpt";
inline constexpr const char IPLMaskRectangle[] = "IPLMaskRectangle Excpt";
inline constexpr const char IPLMaskWand[] = "IPLMaskWand Excpt";
inline constexpr const char IPLPan[] = "IPLPan Excpt";
inline constexpr const char IPLRectangle[] = "IPLRectangle Excpt";
inline constexpr const char IPLResize[] = "IPLResize Excpt";
inline constexpr const char IPLResizePage[] = "IPLResizePage Excpt";
inline constexpr const char IPLRotateLeft[] = "IPLRotateLeft Excpt";
inline constexpr const char IPLRotateRight[] = "IPLRotateRight Excpt";
inline constexpr const char LoadImageBrush[] = "LoadImageBrush Excpt";
inline constexpr const char LoadImageBrushArray[] = "LoadImageBrushArray Excpt";
inline constexpr const char LoadImageBrushFromRGBA32[] = "LoadImageBrushFromRGBA32 Excpt";
inline constexpr const char LoadRGBA32LayerCompressed[] = "LoadRGBA32LayerCompressed Excpt";
inline constexpr const char MakeWebPic[] = "MakeWebPic Excpt";
inline constexpr const char NewSize[] = "NewSize Excpt";
inline constexpr const char ReadFromFile[] = "ReadFromFile Excpt";
inline constexpr const char RotateImageBrush[] = "RotateImageBrush Excpt";
inline constexpr const char SaveImageBrush[] = "SaveImageBrush Excpt";
inline constexpr const char ScreenCapture[] = "ScreenCapture Excpt";
inline constexpr const char ScreenCaptureInto[] = "ScreenCaptureInto Excpt";
inline constexpr const char SetBrushShape[] = "SetBrushShape Excpt";
inline constexpr const char SizeImageBrush[] = "SizeImageBrush Excpt";
inline constexpr const char TwainAcquire[] = "TwainAcquire Excpt";
inline constexpr const char WriteToFileRGB24[] = "WriteToFileRGB24 Excpt";

// Texts that differ from the operation's name.
inline constexpr const char GetRGBA32LayerCompressed[] = "GetRGBA32Layer Excpt";
inline constexpr const char SaveUndoBuf[] = "SaveUndoBuf Excpt";
inline constexpr const char RemoveAbandonedUndo[] = "RemoveAdandonedUndo Excpt";
inline constexpr const char SetTool[] = "SetTool Excpt";
inline constexpr const char MakeRandArray[] = "MakeRandArrayByte Excpt";
inline constexpr const char DeleteRandArray[] = "DeleteRandArrayBtye Excpt";
inline constexpr const char IPLFlipVertical[] = "IPLVlipVertical Excpt";
inline constexpr const char IPLDisplacementBump[] = "IPLDisplacementBump Excpt";
inline constexpr const char IPLSeamCarving[] = "IPLResize Excpt";
inline constexpr const char IPLImageProcess[] = "IPLImageProc Excpt";
inline constexpr const char BlurMoreBuffer[] = "BlurMoreBuffer Excpt";
inline constexpr const char ToClipboardRect[] = "ToClipBoardRect Excpt";
inline constexpr const char FromClipboard[] = "FromClipBoard Excpt";
inline constexpr const char FromClipboardInto[] = "FromClipBoardInto Excpt";
inline constexpr const char FromClipboardIntoEX[] = "FromClipBoardIntoEX Excpt";
inline constexpr const char CreateNewRGBA[] = "CreateNewRGBA Excpt";
inline constexpr const char MakeThumbnail[] = "MakeThumbnails Excpt";
inline constexpr const char GetResizedNewRGBA24[] = "GetResizedNewRGB24 Excpt";
inline constexpr const char LoadRGBA32LayerBad[] = "LoadRGBA32Layer Excpt";
inline constexpr const char GetColorAtMerged[] = "ORV_GetColorAtMerged Excpt";
inline constexpr const char SavePageToFileRGB24[] = "ORV_SavePageToFileRGB24 Excpt";
inline constexpr const char SavePageToFileRGB32[] = "ORV_SavePageToFileRGB32 Excpt";
inline constexpr const char LuaScript[] = "Lua Script Error";

}  // namespace orv::err
