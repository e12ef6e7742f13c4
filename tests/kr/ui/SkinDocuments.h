#pragma once
// A small skin document in the shape of the program's own skins, for the reader's tests
// and the fuzz loop's seed.

namespace KRTest
{

inline constexpr const char* kSampleSkin = R"(<?xml version="1.0" encoding="utf-8"?>
<Tarsil_Skin_Definitions>
<Application Name="PresetEditor">
  <Colorizers>
    <Colorizer Name="black" ColorType="SolidFill" Color="0xFF000000"/>
    <Colorizer Name="fade" ColorType="LinearGradient" Color="0xFF101010" GradientEndColor="0xFF202020"
               GradientStartX="0" GradientStartY="0.5" GradientEndX="1" GradientEndY="0.5"/>
  </Colorizers>
  <Parts>
    <Part Name="panelBack" Width="16" Height="0x10" ResizeType="Tile" ImageFile="Panel.PNG" ImageLocX="0x20" ImageLocY="8"
          ColorizerName="fade" ColorizerAlphaMod="0.5" ColorizerMaskFile="Mask.PNG" MaskLocX="1" MaskLocY="2"/>
    <Part Name="text" Width="1" Height="1" ResizeType="Stretch" ColorizerName="black"/>
  </Parts>
  <Looks>
    <Look Name="panel">
      <ClientPart Name="panelBack" OffsetLeft="4" OffsetTop="4" OffsetRight="-4" OffsetBottom="-4"/>
      <NonClientParts>
        <NonClientPart Name="panelBack" OffsetLeft="0" OffsetTop="0" Height="4"/>
      </NonClientParts>
      <TextProperties TextLeftRel="0" TextLeftAbs="4" TextRightRel="1" TextRightAbs="-4" TextHAlign="0.5"
                      TextTopRel="0" TextTopAbs="0" TextBottomRel="1" TextBottomAbs="0" TextVAlign="0.5"
                      TextForegroundPart="text"/>
    </Look>
  </Looks>
  <LookLists>
    <LookList Name="panelLooks" NumLooks="14">
      <Look Name="panel" Index="0"/>
      <Look Name="panel" Index="3"/>
    </LookList>
  </LookLists>
  <Skins>
    <Skin Name="Default" FontName="Sans" FontSize="9.5" FontStyle="1">
      <SubControl Class="PresetEditor.MainControl" Name="mainControl" IsVisible="False" TabStop="3"
                  XPositionToControl="Screen" XPositionAbs="16.7" XPositionRel="0.5" XSizeToControl="Parent"
                  FontName="Sans" FontSize="12" FontSizeIsRelative="True">
        <CreateParamList>
          <CreateParam ID="NOT_FOCUSABLE" Type="Bool">True</CreateParam>
        </CreateParamList>
        <Skin Name="main" LookList="panelLooks">
          <SubControl Class="Framework.Label" Name="a" LayoutOrder="2" IsVisible="False" TabStop="3"
                      YPositionToControl="Active Window" XPositionToControl="Self" XMinSizeToControl="Children"
                      YSizeToControl="Self" XSizeToControl="other" TextOverflowXType="Wrap" TextOverflowYType="Wrap"/>
          <SubControl Class="Framework.Label" Name="b" LayoutOrder="1" ClipToParent="true"/>
          <SubControl Class="Framework.Label" Name="c" LayoutOrder="1" TextOverflowYType="Expand"/>
        </Skin>
      </SubControl>
    </Skin>
  </Skins>
</Application>
</Tarsil_Skin_Definitions>
)";

} // namespace KRTest
