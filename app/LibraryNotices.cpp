#include "app/LibraryNotices.h"

#include "framework/core/TextFile.h"

// The libraries' own headers: only their version macros and functions are
// used here. (jpeglib.h wants stdio first and must not meet windows.h.)
#include <cstdio>

#include <gif_lib.h>
#include <jpeglib.h>
#include <libdeflate.h>
#include <openjpeg.h>
#include <png.h>
#include <pthread.h>
#include <zlib.h>

namespace {

const char16_t MitLicence[] = uR"(Permission is hereby granted, free of charge, to any person obtaining a copy
of this software and associated documentation files (the "Software"), to deal
in the Software without restriction, including without limitation the rights
to use, copy, modify, merge, publish, distribute, sublicense, and/or sell
copies of the Software, and to permit persons to whom the Software is
furnished to do so, subject to the following conditions:

The above copyright notice and this permission notice shall be included in
all copies or substantial portions of the Software.

THE SOFTWARE IS PROVIDED "AS IS", WITHOUT WARRANTY OF ANY KIND, EXPRESS OR
IMPLIED, INCLUDING BUT NOT LIMITED TO THE WARRANTIES OF MERCHANTABILITY,
FITNESS FOR A PARTICULAR PURPOSE AND NONINFRINGEMENT. IN NO EVENT SHALL THE
AUTHORS OR COPYRIGHT HOLDERS BE LIABLE FOR ANY CLAIM, DAMAGES OR OTHER
LIABILITY, WHETHER IN AN ACTION OF CONTRACT, TORT OR OTHERWISE, ARISING FROM,
OUT OF OR IN CONNECTION WITH THE SOFTWARE OR THE USE OR OTHER DEALINGS IN
THE SOFTWARE.
)";

const char16_t BsdConditionsTwo[] = uR"(Redistribution and use in source and binary forms, with or without
modification, are permitted provided that the following conditions are met:
1. Redistributions of source code must retain the above copyright notice,
   this list of conditions and the following disclaimer.
2. Redistributions in binary form must reproduce the above copyright notice,
   this list of conditions and the following disclaimer in the documentation
   and/or other materials provided with the distribution.
)";

const char16_t BsdDisclaimer[] = uR"(THIS SOFTWARE IS PROVIDED BY THE COPYRIGHT HOLDERS AND CONTRIBUTORS "AS IS"
AND ANY EXPRESS OR IMPLIED WARRANTIES, INCLUDING, BUT NOT LIMITED TO, THE
IMPLIED WARRANTIES OF MERCHANTABILITY AND FITNESS FOR A PARTICULAR PURPOSE
ARE DISCLAIMED. IN NO EVENT SHALL THE COPYRIGHT HOLDERS OR CONTRIBUTORS BE
LIABLE FOR ANY DIRECT, INDIRECT, INCIDENTAL, SPECIAL, EXEMPLARY, OR
CONSEQUENTIAL DAMAGES (INCLUDING, BUT NOT LIMITED TO, PROCUREMENT OF
SUBSTITUTE GOODS OR SERVICES; LOSS OF USE, DATA, OR PROFITS; OR BUSINESS
INTERRUPTION) HOWEVER CAUSED AND ON ANY THEORY OF LIABILITY, WHETHER IN
CONTRACT, STRICT LIABILITY, OR TORT (INCLUDING NEGLIGENCE OR OTHERWISE)
ARISING IN ANY WAY OUT OF THE USE OF THIS SOFTWARE, EVEN IF ADVISED OF THE
POSSIBILITY OF SUCH DAMAGE.
)";

const char16_t ZlibLicence[] = uR"(This software is provided 'as-is', without any express or implied
warranty. In no event will the authors be held liable for any damages
arising from the use of this software.

Permission is granted to anyone to use this software for any purpose,
including commercial applications, and to alter it and redistribute it
freely, subject to the following restrictions:

1. The origin of this software must not be misrepresented; you must not
   claim that you wrote the original software. If you use this software
   in a product, an acknowledgment in the product documentation would be
   appreciated but is not required.
2. Altered source versions must be plainly marked as such, and must not be
   misrepresented as being the original software.
3. This notice may not be removed or altered from any source distribution.
)";

const char16_t JpegNotice[] = uR"(This software is based in part on the work of the Independent JPEG Group.

libjpeg-turbo is covered by the IJG License (the libjpeg API library), the
Modified (3-clause) BSD License below, and the zlib License (its SIMD
extensions).

Copyright (C)2009-2023 D. R. Commander. All Rights Reserved.
Copyright (C)2015 Viktor Szathmary. All Rights Reserved.

Redistribution and use in source and binary forms, with or without
modification, are permitted provided that the following conditions are met:
- Redistributions of source code must retain the above copyright notice,
  this list of conditions and the following disclaimer.
- Redistributions in binary form must reproduce the above copyright notice,
  this list of conditions and the following disclaimer in the documentation
  and/or other materials provided with the distribution.
- Neither the name of the libjpeg-turbo Project nor the names of its
  contributors may be used to endorse or promote products derived from this
  software without specific prior written permission.

)";

const char16_t PngNotice[] = uR"(PNG Reference Library License version 2

Copyright (c) 1995-2022 The PNG Reference Library Authors.
Copyright (c) 2018-2022 Cosmin Truta.
Copyright (c) 2000-2002, 2004, 2006-2018 Glenn Randers-Pehrson.
Copyright (c) 1996-1997 Andreas Dilger.
Copyright (c) 1995-1996 Guy Eric Schalnat, Group 42, Inc.

The software is supplied "as is", without warranty of any kind, express or
implied, including, without limitation, the warranties of merchantability,
fitness for a particular purpose, title, and non-infringement. In no event
shall the Copyright owners, or anyone distributing the software, be liable
for any damages or other liability, whether in contract, tort or otherwise,
arising from, out of, or in connection with the software, or the use or
other dealings in the software, even if advised of the possibility of such
damage.

Permission is hereby granted to use, copy, modify, and distribute this
software, or portions hereof, for any purpose, without fee, subject to the
following restrictions:

1. The origin of this software must not be misrepresented; you must not
   claim that you wrote the original software. If you use this software in
   a product, an acknowledgment in the product documentation would be
   appreciated, but is not required.
2. Altered source versions must be plainly marked as such, and must not be
   misrepresented as being the original software.
3. This Copyright notice may not be removed or altered from any source or
   altered source distribution.
)";

const char16_t ZlibCopyright[] = u"Copyright (C) 1995-2022 Jean-loup Gailly and Mark Adler\n\n";

const char16_t DeflateCopyright[] = u"Copyright 2016 Eric Biggers\n\n";

const char16_t GifCopyright[] = u"Copyright (c) 1997 Eric S. Raymond\n"
                                u"Copyright (c) 1992 Eric Raymond\n"
                                u"Copyright (c) 1989 Gershon Elber\n\n";

const char16_t GifReallocNotice[] = uR"(
Part of giflib (reallocarray):
Copyright (c) 2008 Otto Moerbeek

Permission to use, copy, modify, and distribute this software for any
purpose with or without fee is hereby granted, provided that the above
copyright notice and this permission notice appear in all copies.

THE SOFTWARE IS PROVIDED "AS IS" AND THE AUTHOR DISCLAIMS ALL WARRANTIES
WITH REGARD TO THIS SOFTWARE INCLUDING ALL IMPLIED WARRANTIES OF
MERCHANTABILITY AND FITNESS. IN NO EVENT SHALL THE AUTHOR BE LIABLE FOR
ANY SPECIAL, DIRECT, INDIRECT, OR CONSEQUENTIAL DAMAGES OR ANY DAMAGES
WHATSOEVER RESULTING FROM LOSS OF USE, DATA OR PROFITS, WHETHER IN AN
ACTION OF CONTRACT, NEGLIGENCE OR OTHER TORTIOUS ACTION, ARISING OUT OF
OR IN CONNECTION WITH THE USE OR PERFORMANCE OF THIS SOFTWARE.
)";

const char16_t OpenJpegCopyright[] = uR"(Copyright (c) 2002-2014, Universite catholique de Louvain (UCL), Belgium
Copyright (c) 2002-2014, Professor Benoit Macq
Copyright (c) 2001-2003, David Janssens
Copyright (c) 2002-2003, Yannick Verschueren
Copyright (c) 2003-2007, Francois-Olivier Devaux
Copyright (c) 2003-2014, Antonin Descampe
Copyright (c) 2005, Herve Drolon, FreeImage Team
Copyright (c) 2006-2007, Parvatha Elangovan
Copyright (c) 2008, Jerome Fimes, Communications & Systemes
Copyright (c) 2010-2011, Kaori Hagihara
Copyright (c) 2011-2012, Centre National d'Etudes Spatiales (CNES), France
Copyright (c) 2012, CS Systemes d'Information, France
All rights reserved.

)";

const char16_t WinpthreadsCopyright[] = u"Copyright (c) 2011-2016 mingw-w64 project\n\n";

const char16_t WinpthreadsHeaderNotice[] = uR"(
Parts of winpthreads (pthread.h):
Copyright (c) 2010 Lockless Inc.

Redistribution and use in source and binary forms, with or without
modification, are permitted provided that the following conditions are met:
- Redistributions of source code must retain the above copyright notice,
  this list of conditions and the following disclaimer.
- Redistributions in binary form must reproduce the above copyright notice,
  this list of conditions and the following disclaimer in the documentation
  and/or other materials provided with the distribution.
- Neither the name of Lockless Inc. nor the names of its contributors may be
  used to endorse or promote products derived from this software without
  specific prior written permission.

)";

Container::cWideString Join(std::initializer_list<const char16_t*> parts)
{
    Container::cWideString text;
    for (const char16_t* part : parts)
        text.Append(part);
    return text;
}

Container::cWideString FromAscii(const char* text)
{
    Container::cWideString result;
    result.AssignUtf8(text != nullptr ? text : "");
    return result;
}

Container::cWideString ThreeNumbers(int major, int minor, int patch)
{
    Container::cWideString text;
    text.Format(u"%d.%d.%d", major, minor, patch);
    return text;
}

} // namespace

std::vector<cLibraryNotices::sLibrary> cLibraryNotices::Libraries()
{
    std::vector<sLibrary> libraries;
    libraries.push_back({u"libjpeg-turbo",
                         ThreeNumbers(LIBJPEG_TURBO_VERSION_NUMBER / 1000000, LIBJPEG_TURBO_VERSION_NUMBER / 1000 % 1000,
                                      LIBJPEG_TURBO_VERSION_NUMBER % 1000),
                         Join({JpegNotice, BsdDisclaimer, u"\nThe zlib License of the SIMD extensions:\n\n",
                               ZlibLicence})});
    // The versions of the libraries that can tell them at run time come
    // from the libraries themselves.
    libraries.push_back({u"libpng", FromAscii(png_get_libpng_ver(nullptr)), Join({PngNotice})});
    libraries.push_back({u"zlib", FromAscii(zlibVersion()), Join({ZlibCopyright, ZlibLicence})});
    libraries.push_back({u"libdeflate", FromAscii(LIBDEFLATE_VERSION_STRING), Join({DeflateCopyright, MitLicence})});
    libraries.push_back({u"giflib", ThreeNumbers(GIFLIB_MAJOR, GIFLIB_MINOR, GIFLIB_RELEASE),
                         Join({GifCopyright, MitLicence, GifReallocNotice})});
    libraries.push_back({u"OpenJPEG", FromAscii(opj_version()),
                         Join({OpenJpegCopyright, BsdConditionsTwo, u"\n", BsdDisclaimer})});
    // The MinGW-w64 thread library is linked statically with the runtime.
    libraries.push_back({u"MinGW-w64 winpthreads",
                         ThreeNumbers(__WINPTHREADS_VERSION_MAJOR, __WINPTHREADS_VERSION_MINOR,
                                      __WINPTHREADS_VERSION_PATCHLEVEL),
                         Join({WinpthreadsCopyright, MitLicence, WinpthreadsHeaderNotice, BsdDisclaimer})});
    return libraries;
}

Container::cWideString cLibraryNotices::BuiltInText()
{
    Container::cWideString text(u"Vadrin Quillsnapper contains the following open-source libraries. "
                                u"Their licences ask for the notices below.\n");
    for (const sLibrary& library : Libraries()) {
        text.Append(u"\n----------------------------------------------------------------\n");
        text.Append(library.name);
        text.Append(u' ');
        text.Append(library.version);
        text.Append(u"\n----------------------------------------------------------------\n\n");
        text.Append(library.notice);
    }
    return WithCrLf(text);
}

Container::cWideString cLibraryNotices::CopyrightText(const Container::cWideString& programFolder, bool* fromFile)
{
    Container::cWideString path(programFolder);
    if (!path.IsEmpty() && path[path.Length() - 1] != u'\\' && path[path.Length() - 1] != u'/')
        path.Append(u'\\');
    path.Append(FileName);
    Container::cWideString text;
    const bool read = Storage::ReadTextFile(path, text);
    if (fromFile != nullptr)
        *fromFile = read;
    return read ? WithCrLf(text) : BuiltInText();
}

Container::cWideString cLibraryNotices::Heading(const Container::cWideString& languageText)
{
    static constexpr const char16_t* EditorName = u"Vadrin Brimvale";
    static constexpr const char16_t* KoreanEditorName = u"\uBC14\uB4DC\uB9B0 \uBE0C\uB9BC\uBCA0\uC77C";
    static constexpr const char16_t* ProgramName = u"Vadrin Quillsnapper";
    Container::cWideString heading(languageText);
    if (heading.Find(EditorName) < heading.Length())
        heading.Replace(EditorName, ProgramName);
    else
        heading.Replace(KoreanEditorName, ProgramName);
    return heading;
}

Container::cWideString cLibraryNotices::WithCrLf(const Container::cWideString& text)
{
    Container::cWideString result;
    result.Reserve(text.Length() + text.Length() / 16 + 1);
    for (std::size_t i = 0; i < text.Length(); ++i) {
        const char16_t c = text[i];
        if (c == u'\r') {
            result.Append(u"\r\n");
            if (text.At(i + 1) == u'\n')
                ++i;
        } else if (c == u'\n') {
            result.Append(u"\r\n");
        } else {
            result.Append(c);
        }
    }
    return result;
}
