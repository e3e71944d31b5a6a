#include "app/capture/SaveDialogFilter.h"

#include "framework/core/PathHelpers.h"

const char16_t* cSaveDialogFilter::Text()
{
    return u"Portable Network Graphic(*.png)|*.png|"
           u"Windows Os/2 Bitmap Graphics(*.bmp)|*.bmp|"
           u"Graphic Interchange Format(*.gif)|*.gif|"
           u"Windows Icon(*.ico)|*.ico|"
           u"Jpeg/Jiff Image(*.jpg;*.jpe;*.jpeg)|*.jpg;*.jpe;*.jpeg|"
           u"Japan Picture Format(*.jpc)|*.jpc|"
           u"Jpeg-2000 Jp2 File(*.jp2)|*.jp2|"
           u"Pc Paintbrush(*.pcx)|*.pcx|"
           u"Portable Graphics Format(*.pgx)|*.pgx|"
           u"Portable Anymap Bitmap Graphic File(*.pnm)|*.Pnm|"
           u"Sun Raster Format(*.ras)|*.ras|"
           u"Ska Image Format(*.ska)|*.ska|"
           u"Truevision Targa Bitmap Image(*.tga)|*.tga|"
           u"Brimvale File(*.tbv)|*.tbv||";
}

int cSaveDialogFilter::IndexOf(const Container::cWideString& format)
{
    return Storage::FilterIndexOf(Text(), format.Text());
}
