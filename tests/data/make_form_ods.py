#!/usr/bin/env python3
"""Writes form.ods, the .ods test fixture: a minimal OpenDocument spreadsheet
(a stored "mimetype" first, then the styles, settings and content parts,
deflated). Run: python3 make_form_ods.py form.ods"""
import sys
import zipfile

NS = ('xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" '
      'xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" '
      'xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" '
      'xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" '
      'xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0" '
      'xmlns:number="urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0" '
      'xmlns:config="urn:oasis:names:tc:opendocument:xmlns:config:1.0" office:version="1.2"')

STYLES = f'''<?xml version="1.0" encoding="UTF-8"?>
<office:document-styles {NS}><office:styles>
<style:default-style style:family="table-cell"><style:text-properties fo:font-size="10pt"/></style:default-style>
<style:style style:name="Default" style:family="table-cell"/>
<style:style style:name="Ruled" style:family="table-cell" style:parent-style-name="Default">
<style:table-cell-properties fo:border="0.74pt solid #000000"/></style:style>
</office:styles></office:document-styles>
'''

SETTINGS = f'''<?xml version="1.0" encoding="UTF-8"?>
<office:document-settings {NS}><office:settings><config:config-item-set config:name="ooo:view-settings">
<config:config-item-map-indexed config:name="Views"><config:config-item-map-entry>
<config:config-item config:name="ActiveTable" config:type="string">明細</config:config-item>
</config:config-item-map-entry></config:config-item-map-indexed></config:config-item-set></office:settings>
</office:document-settings>
'''

CONTENT = f'''<?xml version="1.0" encoding="UTF-8"?>
<office:document-content {NS}><office:automatic-styles>
<style:style style:name="co1" style:family="table-column"><style:table-column-properties style:column-width="3cm"/></style:style>
<style:style style:name="co2" style:family="table-column"><style:table-column-properties style:column-width="2cm"/></style:style>
<style:style style:name="ro1" style:family="table-row"><style:table-row-properties style:row-height="1cm"/></style:style>
<style:style style:name="ro2" style:family="table-row"><style:table-row-properties style:row-height="0.5cm"/></style:style>
<style:style style:name="ceTitle" style:family="table-cell" style:parent-style-name="Ruled">
<style:table-cell-properties fo:border-bottom="1.1pt double #ff0000" style:vertical-align="middle"/>
<style:paragraph-properties fo:text-align="center"/><style:text-properties fo:font-size="14pt"/></style:style>
<style:style style:name="ceV" style:family="table-cell" style:parent-style-name="Ruled">
<style:table-cell-properties style:direction="ttb"/></style:style>
<style:style style:name="ceHead" style:family="table-cell" style:parent-style-name="Ruled">
<style:table-cell-properties fo:background-color="#ccffcc"/><style:paragraph-properties fo:text-align="center"/></style:style>
<style:style style:name="ceDash" style:family="table-cell" style:parent-style-name="Ruled">
<style:table-cell-properties fo:border-left="0.74pt dashed #0000ff"/></style:style>
<style:style style:name="T1" style:family="text"><style:text-properties style:text-position="super 58%"/></style:style>
<style:style style:name="T2" style:family="text"><style:text-properties style:text-position="sub 58%"/></style:style>
</office:automatic-styles>
<office:body><office:spreadsheet>
<table:table table:name="表紙"><table:table-row><table:table-cell office:value-type="string"><text:p>cover</text:p></table:table-cell></table:table-row></table:table>
<table:table table:name="明細">
<table:table-column table:style-name="co1"/>
<table:table-column table:style-name="co2" table:number-columns-repeated="2"/>
<table:table-column table:style-name="co2" table:visibility="collapse"/>
<table:table-column table:style-name="co2" table:number-columns-repeated="1020"/>
<table:table-row table:style-name="ro1">
<table:table-cell table:style-name="ceTitle" table:number-columns-spanned="3" table:number-rows-spanned="1" office:value-type="string"><text:p>見積書</text:p></table:table-cell>
<table:covered-table-cell table:number-columns-repeated="2"/>
<table:table-cell office:value-type="string"><text:p>secret</text:p></table:table-cell>
<table:table-cell table:style-name="ceV" table:number-rows-spanned="5" office:value-type="string"><text:p>縦書</text:p></table:table-cell>
</table:table-row>
<table:table-row table:style-name="ro2">{''.join(f'<table:table-cell table:style-name="ceHead" office:value-type="string"><text:p>{t}</text:p></table:table-cell>' for t in ('品名', '数量', '単位'))}
<table:table-cell/><table:covered-table-cell/></table:table-row>
<table:table-row table:style-name="ro2" table:number-rows-repeated="3">
<table:table-cell table:style-name="Ruled" table:number-columns-repeated="3"/><table:table-cell/><table:covered-table-cell/></table:table-row>
<table:table-row table:style-name="ro2">
<table:table-cell table:style-name="ceDash" office:value-type="string"><text:p>m<text:span text:style-name="T1">2</text:span>H<text:span text:style-name="T2">2</text:span>O</text:p></table:table-cell>
<table:table-cell table:style-name="Ruled" office:value-type="float" office:value="1234.5"><text:p>1,234.50</text:p></table:table-cell>
<table:table-cell table:style-name="Ruled" office:value-type="date" office:date-value="2024-03-05"><text:p>2024/3/5</text:p></table:table-cell>
</table:table-row>
<table:table-row table:visibility="collapse"><table:table-cell office:value-type="string"><text:p>hidden</text:p></table:table-cell></table:table-row>
<table:table-row table:number-rows-repeated="1048569"><table:table-cell table:number-columns-repeated="1024"/></table:table-row>
</table:table>
</office:spreadsheet></office:body></office:document-content>
'''

def entry(name):
    info = zipfile.ZipInfo(name, date_time=(2024, 1, 1, 0, 0, 0))  # fixed, so the bytes repeat
    info.compress_type = zipfile.ZIP_STORED if name == 'mimetype' else zipfile.ZIP_DEFLATED
    return info


with zipfile.ZipFile(sys.argv[1], 'w') as z:
    z.writestr(entry('mimetype'), 'application/vnd.oasis.opendocument.spreadsheet')
    z.writestr(entry('styles.xml'), STYLES)
    z.writestr(entry('settings.xml'), SETTINGS)
    z.writestr(entry('content.xml'), CONTENT)
