#include <gtest/gtest.h>

#include <memory>

#include "framework/document/BVBackground.h"
#include "framework/document/BVFile.h"
#include "framework/document/BVPath.h"
#include "framework/document/BVScene.h"
#include "framework/document/BVStockShape.h"
#include "framework/document/BVText.h"
#include "framework/document/StyleBevelAndEmboss.h"
#include "framework/document/StyleBorder.h"
#include "framework/document/StyleColorFill.h"
#include "framework/document/StyleDropShadow.h"
#include "framework/document/StyleFrame.h"
#include "framework/document/StyleGlassShadow.h"
#include "framework/document/StyleGradationFill.h"
#include "framework/document/StyleInnerGlow.h"
#include "framework/document/StyleInnerShadow.h"
#include "framework/document/StyleOuterGlow.h"
#include "framework/document/StyleOutline.h"
#include "framework/document/StyleRound.h"
#include "framework/document/StyleTexture.h"
#include "framework/picturefile/ExifInfo.h"
#include "tests/document/DocumentTestSupport.h"
#include "tests/picturefile/PictureFileTestSupport.h"

using namespace DocumentTest;
using namespace Brimvale;
using Style::cStyle;

namespace {

// One item of every kind, each with values other than its defaults.
void AddEveryStyle(cStyle& styles)
{
    auto outline = std::make_unique<cStyle::cOutline>();
    outline->SetSize(2);
    outline->SetFillKind(cStyle::cOutline::FillGradation);
    outline->ColourFill().SetColour(0xFF00FF00u);
    outline->GradationFill().gradient.name = u"ramp";
    styles.Add(std::move(outline));
    auto drop = std::make_unique<cStyle::cDropShadow>();
    drop->SetGeometry(4, 30, 1);
    drop->SetColour(0x80102030u);
    styles.Add(std::move(drop));
    auto inner = std::make_unique<cStyle::cInnerShadow>();
    inner->SetBlendingMode(14);
    inner->SetEnabled(0);
    styles.Add(std::move(inner));
    auto outer = std::make_unique<cStyle::cOuterGlow>();
    outer->SetSizes(1, 2);
    styles.Add(std::move(outer));
    auto innerGlow = std::make_unique<cStyle::cInnerGlow>();
    innerGlow->SetSizes(1, 1);
    innerGlow->SetBlendingMode(19);
    styles.Add(std::move(innerGlow));
    auto bevel = std::make_unique<cStyle::cBevelAndEmboss>();
    bevel->first[2] = 77;
    bevel->second[3] = -5;
    bevel->flag = 3;
    styles.Add(std::move(bevel));
    auto glass = std::make_unique<cStyle::cGlassShadow>();
    glass->Set(0xC0FFEEDDu, 10, 50, 80);
    styles.Add(std::move(glass));
    auto frame = std::make_unique<cStyle::cFrame>();
    frame->picture = Solid(3, 2, 0xFF00AA00u);
    frame->name = u"wood";
    frame->b[5] = 9;
    frame->h = 12;
    styles.Add(std::move(frame));
    auto fill = std::make_unique<cStyle::cColorFill>();
    fill->SetColour(0x40FF0000u);
    fill->SetBlendingMode(14);
    styles.Add(std::move(fill));
    auto gradation = std::make_unique<cStyle::cGradationFillStyle>();
    gradation->angle = 45;
    gradation->gradient.type = Painter::cGradationFill::Radial;
    gradation->gradient.colourStops.push_back({128, 0x123456u, 7});
    styles.Add(std::move(gradation));
    auto texture = std::make_unique<cStyle::cTexture>();
    texture->flags = cStyle::cTexture::FlagInvert | cStyle::cTexture::FlagMirrorHorizontal;
    texture->picture = PictureFileTest::MakePattern(Painter::FORMAT_ARGB32, 5, 4);
    styles.Add(std::move(texture));
    auto round = std::make_unique<cStyle::cRound>();
    round->SetRadius(3);
    styles.Add(std::move(round));
    auto border = std::make_unique<cStyle::cBorder>();
    border->SetWidths(1, 2, 3, 4);
    border->SetColour(0xFF0000FFu);
    styles.Add(std::move(border));
}

std::unique_ptr<cBVScene> EveryKindScene()
{
    auto scene = std::make_unique<cBVScene>();
    scene->SetCanvasSize(40, 30);
    scene->SetName(u"every kind");
    scene->SetResolution(300);
    scene->Grid().horizontalGuides = {5, 25};
    scene->Grid().verticalGuides = {-3};
    auto exif = std::make_unique<PictureFile::cExifInfo>();
    exif->primary.Append({0x010F, PictureFile::cExifInfo::TypeAscii, 3, {'a', 'b', 0}});
    exif->exif.Append({0x829A, PictureFile::cExifInfo::TypeRational, 1, {1, 0, 0, 0, 100, 0, 0, 0}});
    scene->SetMetadata(std::move(exif));
    AddEveryStyle(scene->Styles());

    auto background = std::make_unique<cBVBackground>();
    background->GetPicture()->CopyFrom(Solid(40, 30, 0xFFFFFFFFu));
    background->SetName(u"Background");
    scene->Root().AddChild(std::move(background));

    auto image = ImageLayer(PictureFileTest::MakePattern(Painter::FORMAT_ARGB32, 9, 7), 6, 5);
    image->SetOpacity(200);
    image->SetBlendingMode(16);
    image->State().secondFlag = 1;
    image->State().stateValue = 42;
    image->State().linkValue = 3;
    image->State().stateBytes[1] = 9;
    AddEveryStyle(image->Styles());
    auto mask = std::make_unique<cBVLayerMask>();
    mask->GetPicture()->CopyFrom(Solid(4, 4, 0xFF808080u));
    mask->SetFillValue(200);
    mask->SetPosition(7, 6);
    image->SetMask(std::move(mask));
    image->SetMaskEnabled(1);

    auto group = std::make_unique<cBVGroup>();
    group->SetName(u"group");
    group->SetExpanded(0);
    group->AddChild(std::move(image));

    auto text = std::make_unique<cBVText>();
    text->SetPosition(2, 3);
    text->textFlag = 1;
    text->styles.push_back({u"Arial", 12.5f, 0, 0xFF000000u, 3, 1, 2, -1, 99});
    text->runs.push_back({0, 1, {{'H', 0}, {'i', -1}}});
    group->AddChild(std::move(text));

    auto inner = std::make_unique<cBVGroup>();
    auto path = std::make_unique<cBVPath>();
    path->width = 10.5f;
    path->height = 4;
    path->stroke.b = 2;
    path->fill.values[0] = 0xFF;
    path->fill.block[7] = 1;
    path->subPaths.push_back({1, {{{0, 0}, {1, 1}, {2, 2}, 1}, {{3, 3}, {4, 4}, {5, 5}, 2}}});
    path->SetPosition(1, 1);
    inner->AddChild(std::move(path));
    auto stock = std::make_unique<cBVStockShape>();
    stock->width = 5;
    stock->height = 6;
    stock->shapeType = 4;
    stock->parameters[1] = 17;
    stock->block[0] = 0xEE;
    stock->flag = 1;
    stock->SetRotation(0.25f);
    inner->AddChild(std::move(stock));
    group->AddChild(std::move(inner));
    scene->Root().AddChild(std::move(group));
    scene->RecomputeGroupBounds();
    return scene;
}

} // namespace

TEST(DocumentRoundTrip, EveryLayerKindAndStyleRecordIsByteIdentical)
{
    const std::unique_ptr<cBVScene> scene = EveryKindScene();
    std::vector<std::uint8_t> first;
    ASSERT_TRUE(cBVFile::SerializeScene(*scene, first));

    cBVFile file;
    std::unique_ptr<cBVScene> read = file.ReadScene(first.data(), first.size());
    ASSERT_TRUE(read) << "error " << file.Error();
    std::vector<std::uint8_t> second;
    ASSERT_TRUE(cBVFile::SerializeScene(*read, second));
    EXPECT_EQ(second, first);

    // What was read is the model, not only the bytes.
    EXPECT_EQ(std::u16string(read->Name().View()), u"every kind");
    EXPECT_EQ(read->Resolution(), 300);
    EXPECT_EQ(read->Grid().horizontalGuides, (std::vector<std::int32_t>{5, 25}));
    ASSERT_NE(read->Metadata(), nullptr);
    EXPECT_TRUE(read->Metadata()->exif == scene->Metadata()->exif);
    ASSERT_EQ(read->Styles().Count(), 13u);
    for (std::size_t i = 0; i < 13; ++i)
        EXPECT_EQ(read->Styles().Item(i).KindCode(), std::int32_t(i + 1));
    EXPECT_EQ(read->Styles().Item(2).Enabled(), false);
    ASSERT_EQ(read->Root().ChildCount(), 2u);
    EXPECT_EQ(read->Root().Child(0).Kind(), cBVObject::KindBackground);
    const auto& group = static_cast<const cBVGroup&>(read->Root().Child(1));
    EXPECT_EQ(group.Expanded(), 0);
    ASSERT_EQ(group.ChildCount(), 3u);
    const auto& image = static_cast<const cBVImage&>(group.Child(0));
    EXPECT_EQ(image.Opacity(), 200);
    EXPECT_EQ(image.BlendingMode(), 16);
    EXPECT_EQ(image.State().stateValue, 42);
    ASSERT_NE(image.Mask(), nullptr);
    EXPECT_EQ(image.Mask()->FillValue(), 200);
    const auto& text = static_cast<const cBVText&>(group.Child(1));
    ASSERT_EQ(text.runs.size(), 1u);
    EXPECT_EQ(text.runs[0].characters[1].code, 'i');
    EXPECT_EQ(std::u16string(text.styles[0].face.View()), u"Arial");
    const auto& inner = static_cast<const cBVGroup&>(group.Child(2));
    const auto& path = static_cast<const cBVPath&>(inner.Child(0));
    EXPECT_EQ(path.subPaths[0].nodes[1].out[0], 5.0f);
    EXPECT_EQ(static_cast<const cBVStockShape&>(inner.Child(1)).parameters[1], 17);

    // The whole document renders within its limits.
    EXPECT_TRUE(read->Render());
}

TEST(DocumentRoundTrip, WritingALayerWithoutAStoredKindFails)
{
    cBVScene scene;
    scene.SetCanvasSize(2, 2);
    scene.Root().AddChild(std::make_unique<cBVPicture>());
    std::vector<std::uint8_t> bytes;
    EXPECT_FALSE(cBVFile::SerializeScene(scene, bytes));
    EXPECT_TRUE(bytes.empty());
}
