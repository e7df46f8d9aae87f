<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="id_ID">
<context>
    <name>QShortcut</name>
    <message>
        <source>Up</source>
        <translation>Atas</translation>
    </message>
    <message>
        <source>Down</source>
        <translation>Bawah</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Bantuan</translation>
    </message>
    <message>
        <source>Left</source>
        <translation>Kiri</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Cetak</translation>
    </message>
    <message>
        <source>Right</source>
        <translation>Kanan</translation>
    </message>
    <message>
        <source>Space</source>
        <translation>Spasi</translation>
    </message>
    <message>
        <source>Print Screen</source>
        <translation>Print Screen</translation>
    </message>
    <message>
        <source>Page Up</source>
        <translation>Page Up</translation>
    </message>
    <message>
        <source>Page Down</source>
        <translation>Page Down</translation>
    </message>
</context>
<context>
    <name>QPageSize</name>
    <message>
        <source>Envelope Monarch</source>
        <translation>Amplop Monarch</translation>
    </message>
    <message>
        <source>Envelope You 4</source>
        <translation>Amplop You 4</translation>
    </message>
    <message>
        <source>Envelope US 10</source>
        <translation>Amplop US 10</translation>
    </message>
    <message>
        <source>Envelope US 11</source>
        <translation>Amplop US 11</translation>
    </message>
    <message>
        <source>Envelope US 12</source>
        <translation>Amplop US 12</translation>
    </message>
    <message>
        <source>Envelope US 14</source>
        <translation>Amplop US 14</translation>
    </message>
    <message>
        <source>Envelope PRC 1</source>
        <translation>Amplop PRC 1</translation>
    </message>
    <message>
        <source>Envelope PRC 2</source>
        <translation>Amplop PRC 2</translation>
    </message>
    <message>
        <source>Envelope PRC 3</source>
        <translation>Amplop PRC 3</translation>
    </message>
    <message>
        <source>Envelope PRC 4</source>
        <translation>Amplop PRC 4</translation>
    </message>
    <message>
        <source>Envelope PRC 5</source>
        <translation>Amplop PRC 5</translation>
    </message>
    <message>
        <source>Envelope PRC 6</source>
        <translation>Amplop PRC 6</translation>
    </message>
    <message>
        <source>Envelope PRC 7</source>
        <translation>Amplop PRC 7</translation>
    </message>
    <message>
        <source>Envelope PRC 8</source>
        <translation>Amplop PRC 8</translation>
    </message>
    <message>
        <source>Envelope PRC 9</source>
        <translation>Amplop PRC 9</translation>
    </message>
    <message>
        <source>Envelope C65</source>
        <translation>Amplop C65</translation>
    </message>
    <message>
        <source>Envelope DL</source>
        <translation>Amplop DL</translation>
    </message>
    <message>
        <source>Envelope B4</source>
        <translation>Amplop B4</translation>
    </message>
    <message>
        <source>Envelope B5</source>
        <translation>Amplop B5</translation>
    </message>
    <message>
        <source>Envelope B6</source>
        <translation>Amplop B6</translation>
    </message>
    <message>
        <source>Envelope C0</source>
        <translation>Amplop C0</translation>
    </message>
    <message>
        <source>Envelope C1</source>
        <translation>Amplop C1</translation>
    </message>
    <message>
        <source>Envelope C2</source>
        <translation>Amplop C2</translation>
    </message>
    <message>
        <source>Envelope C3</source>
        <translation>Amplop C3</translation>
    </message>
    <message>
        <source>Envelope C4</source>
        <translation>Amplop C4</translation>
    </message>
    <message>
        <source>Envelope C5</source>
        <translation>Amplop C5</translation>
    </message>
    <message>
        <source>Envelope C6</source>
        <translation>Amplop C6</translation>
    </message>
    <message>
        <source>Envelope C7</source>
        <translation>Amplop C7</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>Khusus</translation>
    </message>
    <message>
        <source>Postcard</source>
        <translation>Kartu Pos</translation>
    </message>
    <message>
        <source>Envelope Invite</source>
        <translation>Amplop Invite</translation>
    </message>
    <message>
        <source>Envelope Chou 3</source>
        <translation>Amplop Chou 3</translation>
    </message>
    <message>
        <source>Envelope Chou 4</source>
        <translation>Amplop Chou 4</translation>
    </message>
    <message>
        <source>Envelope PRC 10</source>
        <translation>Amplop PRC 10</translation>
    </message>
    <message>
        <source>Envelope Kaku 2</source>
        <translation>Amplop Kaku 2</translation>
    </message>
    <message>
        <source>Envelope Kaku 3</source>
        <translation>Amplop Kaku 3</translation>
    </message>
    <message>
        <source>Envelope US 9</source>
        <translation>Amplop US 9</translation>
    </message>
    <message>
        <source>Custom (%1in x %2in)</source>
        <translation>Khusus (%1in x %2in)</translation>
    </message>
    <message>
        <source>Custom (%1mm x %2mm)</source>
        <translation>Khusus (%1mm x %2mm)</translation>
    </message>
    <message>
        <source>Custom (%1CC x %2CC)</source>
        <translation>Khusus (%1CC x %2CC)</translation>
    </message>
    <message>
        <source>Custom (%1DD x %2DD)</source>
        <translation>Khusus (%1DD x %2DD)</translation>
    </message>
    <message>
        <source>Custom (%1pc x %2pc)</source>
        <translation>Khusus (%1pc x %2pc)</translation>
    </message>
    <message>
        <source>Custom (%1pt x %2pt)</source>
        <translation>Khusus (%1pt x %2pt)</translation>
    </message>
    <message>
        <source>Envelope Italian</source>
        <translation>Amplop Italian</translation>
    </message>
    <message>
        <source>Double Postcard</source>
        <translation>Kartu Pos Ganda</translation>
    </message>
    <message>
        <source>Envelope Personal</source>
        <translation>Amplop Personal</translation>
    </message>
</context>
<context>
    <name>QPageSetupWidget</name>
    <message>
        <source>CC</source>
        <translation>CC</translation>
    </message>
    <message>
        <source>DD</source>
        <translation>DD</translation>
    </message>
    <message>
        <source>in</source>
        <translation>in</translation>
    </message>
    <message>
        <source>mm</source>
        <translation>mm</translation>
    </message>
    <message>
        <source>pt</source>
        <translation>pt</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Formulir</translation>
    </message>
    <message>
        <source>bottom margin</source>
        <translation>margin bawah</translation>
    </message>
    <message>
        <source>Paper</source>
        <translation>Kertas</translation>
    </message>
    <message>
        <source>Paper source:</source>
        <translation>Sumber kertas:</translation>
    </message>
    <message>
        <source>right margin</source>
        <translation>margin kanan</translation>
    </message>
    <message>
        <source>Margins</source>
        <translation>Margin</translation>
    </message>
    <message>
        <source>Custom</source>
        <translation>Khusus</translation>
    </message>
    <message>
        <source>Landscape</source>
        <translation>Lanskap</translation>
    </message>
    <message>
        <source>Page Layout</source>
        <translation>Tata Letak Halaman</translation>
    </message>
    <message>
        <source>Width:</source>
        <translation>Lebar:</translation>
    </message>
    <message>
        <source>Orientation</source>
        <translation>Orientasi</translation>
    </message>
    <message>
        <source>Portrait</source>
        <translation>Potret</translation>
    </message>
    <message>
        <source>Page order:</source>
        <translation>Urutan halaman:</translation>
    </message>
    <message>
        <source>top margin</source>
        <translation>margin atas</translation>
    </message>
    <message>
        <source>left margin</source>
        <translation>margin kiri</translation>
    </message>
    <message>
        <source>Page size:</source>
        <translation>Ukuran halaman:</translation>
    </message>
    <message>
        <source>Reverse portrait</source>
        <translation>Potret terbalik</translation>
    </message>
    <message>
        <source>Millimeters (mm)</source>
        <translation>Milimeter (mm)</translation>
    </message>
    <message>
        <source>Points (pt)</source>
        <translation>Poin (pt)</translation>
    </message>
    <message>
        <source>Pages per sheet:</source>
        <translation>Halaman per lembar:</translation>
    </message>
    <message>
        <source>Inches (in)</source>
        <translation>Inci (in)</translation>
    </message>
    <message>
        <source>Reverse landscape</source>
        <translation>Lanskap terbalik</translation>
    </message>
    <message>
        <source>Height:</source>
        <translation>Tinggi:</translation>
    </message>
</context>
<context>
    <name>QDialogButtonBox</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>QPlatformTheme</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Tidak</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Ya</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Bantuan</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Buka</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Simpan</translation>
    </message>
    <message>
        <source>Abort</source>
        <translation>Batalkan</translation>
    </message>
    <message>
        <source>Apply</source>
        <translation>Terapkan</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Tutup</translation>
    </message>
    <message>
        <source>Reset</source>
        <translation>Atur Ulang</translation>
    </message>
    <message>
        <source>Retry</source>
        <translation>Coba Lagi</translation>
    </message>
    <message>
        <source>Restore Defaults</source>
        <translation>Kembalikan Bawaan</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Batal</translation>
    </message>
    <message>
        <source>Ignore</source>
        <translation>Abaikan</translation>
    </message>
    <message>
        <source>N&amp;o to All</source>
        <translation>T&amp;idak untuk Semua</translation>
    </message>
    <message>
        <source>Save All</source>
        <translation>Simpan Semua</translation>
    </message>
    <message>
        <source>Discard</source>
        <translation>Buang</translation>
    </message>
    <message>
        <source>Yes to &amp;All</source>
        <translation>Ya untuk &amp;Semua</translation>
    </message>
</context>
<context>
    <name>QPrintSettingsOutput</name>
    <message>
        <source>to</source>
        <translation>sampai</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Mati</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Formulir</translation>
    </message>
    <message>
        <source>Color</source>
        <translation>Warna</translation>
    </message>
    <message>
        <source>Print all</source>
        <translation>Cetak semua</translation>
    </message>
    <message>
        <source>Pages</source>
        <translation>Halaman</translation>
    </message>
    <message>
        <source>Current Page</source>
        <translation>Halaman Ini</translation>
    </message>
    <message>
        <source>Selection</source>
        <translation>Pilihan</translation>
    </message>
    <message>
        <source>Copies</source>
        <translation>Salinan</translation>
    </message>
    <message>
        <source>Print range</source>
        <translation>Rentang cetak</translation>
    </message>
    <message>
        <source>Color Mode</source>
        <translation>Mode Warna</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Opsi</translation>
    </message>
    <message>
        <source>Output Settings</source>
        <translation>Pengaturan Keluaran</translation>
    </message>
    <message>
        <source>Reverse</source>
        <translation>Terbalik</translation>
    </message>
    <message>
        <source>Grayscale</source>
        <translation>Skala abu-abu</translation>
    </message>
    <message>
        <source>Collate</source>
        <translation>Susun</translation>
    </message>
    <message>
        <source>Copies:</source>
        <translation>Salinan:</translation>
    </message>
    <message>
        <source>Short side binding</source>
        <translation>Jilid sisi pendek</translation>
    </message>
    <message>
        <source>Specify pages or ranges separated by commas. Ranges are specified by two numbers separated by a hyphen. E.g: 3,5-7,9 prints pages 3, 5, 6, 7 and 9.</source>
        <translation>Tulis halaman atau rentang, dipisahkan dengan koma. Rentang ditulis dengan dua angka yang dipisahkan tanda hubung. Contoh: 3,5-7,9 mencetak halaman 3, 5, 6, 7 dan 9.</translation>
    </message>
    <message>
        <source>Pages from</source>
        <translation>Halaman dari</translation>
    </message>
    <message>
        <source>Double Sided Printing</source>
        <translation>Cetak Bolak-balik</translation>
    </message>
    <message>
        <source>Page Set:</source>
        <translation>Kumpulan halaman:</translation>
    </message>
    <message>
        <source>Long side binding</source>
        <translation>Jilid sisi panjang</translation>
    </message>
</context>
<context>
    <name>QPrintPreviewDialog</name>
    <message>
        <source>%1%</source>
        <translation>%1%</translation>
    </message>
    <message>
        <source>Print Preview</source>
        <translation>Pratinjau Cetak</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Cetak</translation>
    </message>
    <message>
        <source>Fit page</source>
        <translation>Sesuaikan halaman</translation>
    </message>
    <message>
        <source>Zoom in</source>
        <translation>Perbesar</translation>
    </message>
    <message>
        <source>Landscape</source>
        <translation>Lanskap</translation>
    </message>
    <message>
        <source>Zoom out</source>
        <translation>Perkecil</translation>
    </message>
    <message>
        <source>Fit width</source>
        <translation>Sesuaikan lebar</translation>
    </message>
    <message>
        <source>Portrait</source>
        <translation>Potret</translation>
    </message>
    <message>
        <source>Page Setup</source>
        <translation>Pengaturan Halaman</translation>
    </message>
    <message>
        <source>Page setup</source>
        <translation>Pengaturan halaman</translation>
    </message>
    <message>
        <source>Show overview of all pages</source>
        <translation>Tampilkan semua halaman</translation>
    </message>
    <message>
        <source>First page</source>
        <translation>Halaman pertama</translation>
    </message>
    <message>
        <source>Last page</source>
        <translation>Halaman terakhir</translation>
    </message>
    <message>
        <source>Show single page</source>
        <translation>Tampilkan satu halaman</translation>
    </message>
    <message>
        <source>Export to PDF</source>
        <translation>Ekspor ke PDF</translation>
    </message>
    <message>
        <source>Previous page</source>
        <translation>Halaman sebelumnya</translation>
    </message>
    <message>
        <source>Next page</source>
        <translation>Halaman berikutnya</translation>
    </message>
    <message>
        <source>Show facing pages</source>
        <translation>Tampilkan halaman berhadapan</translation>
    </message>
</context>
<context>
    <name>QErrorMessage</name>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>Fatal Error:</source>
        <translation>Galat Fatal:</translation>
    </message>
    <message>
        <source>&amp;Show this message again</source>
        <translation>&amp;Tampilkan pesan ini lagi</translation>
    </message>
    <message>
        <source>Critical Error:</source>
        <translation>Galat Kritis:</translation>
    </message>
    <message>
        <source>Information:</source>
        <translation>Informasi:</translation>
    </message>
    <message>
        <source>Debug Message:</source>
        <translation>Pesan Debug:</translation>
    </message>
    <message>
        <source>Warning:</source>
        <translation>Peringatan:</translation>
    </message>
</context>
<context>
    <name>QGnomeTheme</name>
    <message>
        <source>&amp;OK</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Simpan</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Tutup</translation>
    </message>
    <message>
        <source>Close without Saving</source>
        <translation>Tutup tanpa Menyimpan</translation>
    </message>
    <message>
        <source>&amp;Cancel</source>
        <translation>&amp;Batal</translation>
    </message>
</context>
<context>
    <name>QPrintWidget</name>
    <message>
        <source>Form</source>
        <translation>Formulir</translation>
    </message>
    <message>
        <source>Type:</source>
        <translation>Tipe:</translation>
    </message>
    <message>
        <source>&amp;Name:</source>
        <translation>&amp;Nama:</translation>
    </message>
    <message>
        <source>Output &amp;file:</source>
        <translation>&amp;File keluaran:</translation>
    </message>
    <message>
        <source>P&amp;roperties</source>
        <translation>&amp;Properti</translation>
    </message>
    <message>
        <source>Preview</source>
        <translation>Pratinjau</translation>
    </message>
    <message>
        <source>Printer</source>
        <translation>Printer</translation>
    </message>
    <message>
        <source>Location:</source>
        <translation>Lokasi:</translation>
    </message>
</context>
<context>
    <name>QCupsJobWidget</name>
    <message>
        <source>Job</source>
        <translation>Pekerjaan</translation>
    </message>
    <message>
        <source>End:</source>
        <translation>Akhir:</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Tidak ada</translation>
    </message>
    <message>
        <source>Banner Pages</source>
        <translation>Halaman Sampul</translation>
    </message>
    <message>
        <source>Night (18:00 to 05:59)</source>
        <translation>Malam (18.00 sampai 05.59)</translation>
    </message>
    <message>
        <source>Specific Time</source>
        <translation>Waktu Tertentu</translation>
    </message>
    <message>
        <source>Billing information:</source>
        <translation>Informasi tagihan:</translation>
    </message>
    <message>
        <source>Scheduled printing:</source>
        <translation>Jadwal cetak:</translation>
    </message>
    <message>
        <source>Secret</source>
        <translation>Rahasia</translation>
    </message>
    <message>
        <source>Top Secret</source>
        <translation>Sangat Rahasia</translation>
    </message>
    <message>
        <source>Start:</source>
        <translation>Awal:</translation>
    </message>
    <message>
        <source>Day (06:00 to 17:59)</source>
        <translation>Siang (06.00 sampai 17.59)</translation>
    </message>
    <message>
        <source>Second Shift (16:00 to 23:59)</source>
        <translation>Giliran Kedua (16.00 sampai 23.59)</translation>
    </message>
    <message>
        <source>Job Control</source>
        <translation>Kendali Pekerjaan</translation>
    </message>
    <message>
        <source>Weekend (Saturday to Sunday)</source>
        <translation>Akhir Pekan (Sabtu sampai Minggu)</translation>
    </message>
    <message>
        <source>Standard</source>
        <translation>Standar</translation>
    </message>
    <message>
        <source>Classified</source>
        <translation>Terbatas</translation>
    </message>
    <message>
        <source>Third Shift (00:00 to 07:59)</source>
        <translation>Giliran Ketiga (00.00 sampai 07.59)</translation>
    </message>
    <message>
        <source>Hold Indefinitely</source>
        <translation>Tahan Tanpa Batas</translation>
    </message>
    <message>
        <source>Print Immediately</source>
        <translation>Cetak Segera</translation>
    </message>
    <message>
        <source>Confidential</source>
        <translation>Konfidensial</translation>
    </message>
    <message>
        <source>Job priority:</source>
        <translation>Prioritas pekerjaan:</translation>
    </message>
    <message>
        <source>Unclassified</source>
        <translation>Terbuka</translation>
    </message>
</context>
<context>
    <name>QScrollBar</name>
    <message>
        <source>Top</source>
        <translation>Atas</translation>
    </message>
    <message>
        <source>Scroll down</source>
        <translation>Gulir ke bawah</translation>
    </message>
    <message>
        <source>Scroll here</source>
        <translation>Gulir ke sini</translation>
    </message>
    <message>
        <source>Scroll left</source>
        <translation>Gulir ke kiri</translation>
    </message>
    <message>
        <source>Bottom</source>
        <translation>Bawah</translation>
    </message>
    <message>
        <source>Page up</source>
        <translation>Satu halaman ke atas</translation>
    </message>
    <message>
        <source>Page right</source>
        <translation>Satu halaman ke kanan</translation>
    </message>
    <message>
        <source>Scroll up</source>
        <translation>Gulir ke atas</translation>
    </message>
    <message>
        <source>Scroll right</source>
        <translation>Gulir ke kanan</translation>
    </message>
    <message>
        <source>Left edge</source>
        <translation>Tepi kiri</translation>
    </message>
    <message>
        <source>Page down</source>
        <translation>Satu halaman ke bawah</translation>
    </message>
    <message>
        <source>Page left</source>
        <translation>Satu halaman ke kiri</translation>
    </message>
    <message>
        <source>Right edge</source>
        <translation>Tepi kanan</translation>
    </message>
</context>
<context>
    <name>QFileDialog</name>
    <message>
        <source>Back</source>
        <translation>Kembali</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Buka</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>&amp;Buka</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Simpan</translation>
    </message>
    <message>
        <source>Files</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Show </source>
        <translation>Tampilkan </translation>
    </message>
    <message>
        <source>&apos;%1&apos; is write protected.
Do you want to delete it anyway?</source>
        <translation>&apos;%1&apos; dilindungi dari penulisan.
Tetap hapus?</translation>
    </message>
    <message>
        <source>Are you sure you want to delete &apos;%1&apos;?</source>
        <translation>Yakin akan menghapus &apos;%1&apos;?</translation>
    </message>
    <message>
        <source>List of places and bookmarks</source>
        <translation>Daftar tempat dan markah</translation>
    </message>
    <message>
        <source>File &amp;name:</source>
        <translation>&amp;Nama file:</translation>
    </message>
    <message>
        <source>Alt+Left</source>
        <translation>Alt+Left</translation>
    </message>
    <message>
        <source>Alt+Up</source>
        <translation>Alt+Up</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Hapus</translation>
    </message>
    <message>
        <source>New Folder</source>
        <translation>Folder Baru</translation>
    </message>
    <message>
        <source>Parent Directory</source>
        <translation>Folder Induk</translation>
    </message>
    <message>
        <source>&amp;New Folder</source>
        <translation>Folder &amp;Baru</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Buang</translation>
    </message>
    <message>
        <source>Look in:</source>
        <translation>Cari di:</translation>
    </message>
    <message>
        <source>Alt+Right</source>
        <translation>Alt+Right</translation>
    </message>
    <message>
        <source>Create a New Folder</source>
        <translation>Buat Folder Baru</translation>
    </message>
    <message>
        <source>Files of type:</source>
        <translation>Jenis file:</translation>
    </message>
    <message>
        <source>Find Directory</source>
        <translation>Cari Folder</translation>
    </message>
    <message>
        <source>Show &amp;hidden files</source>
        <translation>Tampilkan file &amp;tersembunyi</translation>
    </message>
    <message>
        <source>Save As</source>
        <translation>Simpan Sebagai</translation>
    </message>
    <message>
        <source>%1
Directory not found.
Please verify the correct directory name was given.</source>
        <translation>%1
Folder tidak ditemukan.
Periksa apakah nama folder sudah benar.</translation>
    </message>
    <message>
        <source>Sidebar</source>
        <translation>Bilah sisi</translation>
    </message>
    <message>
        <source>List View</source>
        <translation>Tampilan Daftar</translation>
    </message>
    <message>
        <source>&amp;Choose</source>
        <translation>&amp;Pilih</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Hapus</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Semua file (*)</translation>
    </message>
    <message>
        <source>All Files (*)</source>
        <translation>Semua File (*)</translation>
    </message>
    <message>
        <source>Directories</source>
        <translation>Folder</translation>
    </message>
    <message>
        <source>&amp;Rename</source>
        <translation>&amp;Ganti Nama</translation>
    </message>
    <message>
        <source>Could not delete directory.</source>
        <translation>Folder tidak dapat dihapus.</translation>
    </message>
    <message>
        <source>Directory:</source>
        <translation>Folder:</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation>%1 sudah ada.
Ganti file itu?</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>Maju</translation>
    </message>
    <message>
        <source>Go forward</source>
        <translation>Maju</translation>
    </message>
    <message>
        <source>Go to the parent directory</source>
        <translation>Ke folder induk</translation>
    </message>
    <message>
        <source>Recent Places</source>
        <translation>Tempat Terakhir</translation>
    </message>
    <message>
        <source>Go back</source>
        <translation>Kembali</translation>
    </message>
    <message>
        <source>Change to detail view mode</source>
        <translation>Ganti ke tampilan rinci</translation>
    </message>
    <message>
        <source>Create New Folder</source>
        <translation>Buat Folder Baru</translation>
    </message>
    <message>
        <source>Detail View</source>
        <translation>Tampilan Rinci</translation>
    </message>
    <message>
        <source>%1
File not found.
Please verify the correct file name was given.</source>
        <translation>%1
File tidak ditemukan.
Periksa apakah nama file sudah benar.</translation>
    </message>
    <message>
        <source>Change to list view mode</source>
        <translation>Ganti ke tampilan daftar</translation>
    </message>
</context>
<context>
    <name>QLineEdit</name>
    <message>
        <source>Cu&amp;t</source>
        <translation>Po&amp;tong</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Salin</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Ulangi</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Batalkan</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>T&amp;empel</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Hapus</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Pilih Semua</translation>
    </message>
</context>
<context>
    <name>QWidgetTextControl</name>
    <message>
        <source>Cu&amp;t</source>
        <translation>Po&amp;tong</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Salin</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Ulangi</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Batalkan</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>T&amp;empel</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Hapus</translation>
    </message>
    <message>
        <source>Select All</source>
        <translation>Pilih Semua</translation>
    </message>
    <message>
        <source>Copy &amp;Link Location</source>
        <translation>Salin Alamat &amp;Tautan</translation>
    </message>
</context>
<context>
    <name>QAbstractFileIconProvider</name>
    <message>
        <source>File</source>
        <translation>File</translation>
    </message>
    <message>
        <source>Alias</source>
        <translation>Alias</translation>
    </message>
    <message>
        <source>Drive</source>
        <translation>Drive</translation>
    </message>
    <message>
        <source>File Folder</source>
        <translation>Folder File</translation>
    </message>
    <message>
        <source>Folder</source>
        <translation>Folder</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Tidak diketahui</translation>
    </message>
    <message>
        <source>Shortcut</source>
        <translation>Pintasan</translation>
    </message>
</context>
<context>
    <name>QPrintPropertiesWidget</name>
    <message>
        <source>Form</source>
        <translation>Formulir</translation>
    </message>
    <message>
        <source>Page</source>
        <translation>Halaman</translation>
    </message>
    <message>
        <source>There are conflicts in some options. Please fix them.</source>
        <translation>Beberapa opsi saling bertentangan. Perbaikilah.</translation>
    </message>
    <message>
        <source>Advanced</source>
        <translation>Lanjutan</translation>
    </message>
</context>
<context>
    <name>QFileSystemModel</name>
    <message>
        <source>Kind</source>
        <translation>Jenis</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Nama</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Ukuran</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Tipe</translation>
    </message>
    <message>
        <source>My Computer</source>
        <translation>Komputer Saya</translation>
    </message>
    <message>
        <source>Computer</source>
        <translation>Komputer</translation>
    </message>
    <message>
        <source>Date Modified</source>
        <translation>Tanggal Diubah</translation>
    </message>
</context>
<context>
    <name>QComboBox</name>
    <message>
        <source>True</source>
        <translation>Benar</translation>
    </message>
    <message>
        <source>False</source>
        <translation>Salah</translation>
    </message>
    <message>
        <source>Open the combo box selection popup</source>
        <translation>Buka daftar pilihan kotak kombo</translation>
    </message>
</context>
<context>
    <name>QGuiApplication</name>
    <message>
        <source>Alias for --qwindowicon.</source>
        <translation>Nama lain --qwindowicon.</translation>
    </message>
    <message>
        <source>Alias for --qwindowtitle.</source>
        <translation>Nama lain --qwindowtitle.</translation>
    </message>
    <message>
        <source>QPA plugin. See QGuiApplication documentation for available options for each plugin.</source>
        <translation>Plugin QPA. Opsi tiap plugin ada di dokumentasi QGuiApplication.</translation>
    </message>
    <message>
        <source>QT_LAYOUT_DIRECTION</source>
        <translation>LTR</translation>
    </message>
    <message>
        <source>Restores the application from an earlier session.</source>
        <translation>Memulihkan program dari sesi sebelumnya.</translation>
    </message>
    <message>
        <source>Default window icon.</source>
        <translation>Ikon jendela bawaan.</translation>
    </message>
    <message>
        <source>Instance name according to ICCCM 4.1.2.5.</source>
        <translation>Nama instans menurut ICCCM 4.1.2.5.</translation>
    </message>
    <message>
        <source>Disable mouse grabbing (useful in debuggers).</source>
        <translation>Mematikan penangkapan tetikus (berguna di debugger).</translation>
    </message>
    <message>
        <source>Path to the platform plugins.</source>
        <translation>Letak plugin platform.</translation>
    </message>
    <message>
        <source>Title of the first window.</source>
        <translation>Judul jendela pertama.</translation>
    </message>
    <message>
        <source>Window geometry for the main window, using the X11-syntax, like 100x100+50+50.</source>
        <translation>Ukuran dan letak jendela utama dalam tulisan X11, misalnya 100x100+50+50.</translation>
    </message>
    <message>
        <source>ID of the X11 Visual to use.</source>
        <translation>ID Visual X11 yang dipakai.</translation>
    </message>
    <message>
        <source>Alias for --qwindowgeometry.</source>
        <translation>Nama lain --qwindowgeometry.</translation>
    </message>
    <message>
        <source>Sets the application&apos;s layout direction to Qt::RightToLeft (debugging helper).</source>
        <translation>Mengatur arah tata letak program ke Qt::RightToLeft (bantuan debug).</translation>
    </message>
    <message>
        <source>Additional plugins to load, can be specified multiple times.</source>
        <translation>Plugin tambahan yang dimuat; boleh disebut beberapa kali.</translation>
    </message>
    <message>
        <source>Display name, overrides $DISPLAY.</source>
        <translation>Nama layar, menggantikan $DISPLAY.</translation>
    </message>
    <message>
        <source>Force mouse grabbing (even when running in a debugger).</source>
        <translation>Memaksa penangkapan tetikus (juga di debugger).</translation>
    </message>
    <message>
        <source>Platform theme.</source>
        <translation>Tema platform.</translation>
    </message>
</context>
<context>
    <name>QPrintDialog</name>
    <message>
        <source>Even Pages</source>
        <translation>Halaman Genap</translation>
    </message>
    <message>
        <source>Print</source>
        <translation>Cetak</translation>
    </message>
    <message>
        <source>&amp;Options &lt;&lt;</source>
        <translation>&amp;Opsi &lt;&lt;</translation>
    </message>
    <message>
        <source>&amp;Options &gt;&gt;</source>
        <translation>&amp;Opsi &gt;&gt;</translation>
    </message>
    <message>
        <source>Left to Right, Top to Bottom</source>
        <translation>Kiri ke Kanan, Atas ke Bawah</translation>
    </message>
    <message>
        <source>Right to Left, Bottom to Top</source>
        <translation>Kanan ke Kiri, Bawah ke Atas</translation>
    </message>
    <message>
        <source>Write PDF file</source>
        <translation>Tulis file PDF</translation>
    </message>
    <message>
        <source>&amp;Print</source>
        <translation>&amp;Cetak</translation>
    </message>
    <message>
        <source>Options &apos;Pages Per Sheet&apos; and &apos;Page Set&apos; cannot be used together.
Please turn one of those options off.</source>
        <translation>Opsi &apos;Halaman per lembar&apos; dan &apos;Kumpulan halaman&apos; tidak dapat dipakai bersama.
Matikan salah satunya.</translation>
    </message>
    <message>
        <source>%1 already exists.
Do you want to overwrite it?</source>
        <translation>%1 sudah ada.
Timpa file itu?</translation>
    </message>
    <message>
        <source>Left to Right, Bottom to Top</source>
        <translation>Kiri ke Kanan, Bawah ke Atas</translation>
    </message>
    <message>
        <source>Odd Pages</source>
        <translation>Halaman Ganjil</translation>
    </message>
    <message>
        <source>Local file</source>
        <translation>File lokal</translation>
    </message>
    <message>
        <source>There are conflicts in duplex settings. Do you want to fix them?</source>
        <translation>Ada pertentangan dalam pengaturan cetak bolak-balik. Perbaiki sekarang?</translation>
    </message>
    <message>
        <source>Print to File (PDF)</source>
        <translation>Cetak ke File (PDF)</translation>
    </message>
    <message>
        <source>Print To File ...</source>
        <translation>Cetak ke File ...</translation>
    </message>
    <message>
        <source>Invalid Pages Definition</source>
        <translation>Daftar Halaman Tidak Sah</translation>
    </message>
    <message>
        <source>%1 does not follow the correct syntax. Please use &apos;,&apos; to separate ranges and pages, &apos;-&apos; to define ranges and make sure ranges do not intersect with each other.</source>
        <translation>%1 tidak ditulis dengan benar. Pisahkan halaman dan rentang dengan &apos;,&apos;, tulis rentang dengan &apos;-&apos;, dan pastikan rentang tidak saling tumpang tindih.</translation>
    </message>
    <message>
        <source>Right to Left, Top to Bottom</source>
        <translation>Kanan ke Kiri, Atas ke Bawah</translation>
    </message>
    <message>
        <source>Bottom to Top, Left to Right</source>
        <translation>Bawah ke Atas, Kiri ke Kanan</translation>
    </message>
    <message>
        <source>The &apos;From&apos; value cannot be greater than the &apos;To&apos; value.</source>
        <translation>Nilai &apos;Dari&apos; tidak boleh lebih besar daripada nilai &apos;Sampai&apos;.</translation>
    </message>
    <message>
        <source>All Pages</source>
        <translation>Semua Halaman</translation>
    </message>
    <message>
        <source>Duplex Settings Conflicts</source>
        <translation>Pengaturan Bolak-balik Bertentangan</translation>
    </message>
    <message>
        <source>%1 is a directory.
Please choose a different file name.</source>
        <translation>%1 adalah folder.
Pilih nama file lain.</translation>
    </message>
    <message>
        <source>File %1 is not writable.
Please choose a different file name.</source>
        <translation>File %1 tidak dapat ditulis.
Pilih nama file lain.</translation>
    </message>
    <message>
        <source>Bottom to Top, Right to Left</source>
        <translation>Bawah ke Atas, Kanan ke Kiri</translation>
    </message>
    <message>
        <source>Top to Bottom, Left to Right</source>
        <translation>Atas ke Bawah, Kiri ke Kanan</translation>
    </message>
    <message>
        <source>Top to Bottom, Right to Left</source>
        <translation>Atas ke Bawah, Kanan ke Kiri</translation>
    </message>
</context>
<context>
    <name>QPrintPropertiesDialog</name>
    <message>
        <source>Advanced Option Conflicts</source>
        <translation>Opsi Lanjutan Bertentangan</translation>
    </message>
    <message>
        <source>Job Options</source>
        <translation>Opsi Pekerjaan Cetak</translation>
    </message>
    <message>
        <source>Page Setup Conflicts</source>
        <translation>Pengaturan Halaman Bertentangan</translation>
    </message>
    <message>
        <source>There are conflicts in some advanced options. Do you want to fix them?</source>
        <translation>Beberapa opsi lanjutan saling bertentangan. Perbaiki sekarang?</translation>
    </message>
    <message>
        <source>There are conflicts in page setup options. Do you want to fix them?</source>
        <translation>Beberapa opsi pengaturan halaman saling bertentangan. Perbaiki sekarang?</translation>
    </message>
    <message>
        <source>Printer Properties</source>
        <translation>Properti Printer</translation>
    </message>
</context>
<context>
    <name>QDialog</name>
    <message>
        <source>What&apos;s This?</source>
        <translation>Apa Ini?</translation>
    </message>
</context>
<context>
    <name>QWhatsThisAction</name>
    <message>
        <source>What&apos;s This?</source>
        <translation>Apa Ini?</translation>
    </message>
</context>
<context>
    <name>QCommandLineParser</name>
    <message>
        <source>Unknown options: %1.</source>
        <translation>Opsi tidak dikenal: %1.</translation>
    </message>
    <message>
        <source>Unknown option &apos;%1&apos;.</source>
        <translation>Opsi tidak dikenal: &apos;%1&apos;.</translation>
    </message>
    <message>
        <source>[options]</source>
        <translation>[opsi]</translation>
    </message>
    <message>
        <source>Options:</source>
        <translation>Opsi:</translation>
    </message>
    <message>
        <source>Displays help including Qt specific options.</source>
        <translation>Menampilkan bantuan beserta opsi khusus Qt.</translation>
    </message>
    <message>
        <source>Usage: %1</source>
        <translation>Pemakaian: %1</translation>
    </message>
    <message>
        <source>Displays help on commandline options.</source>
        <translation>Menampilkan bantuan tentang opsi baris perintah.</translation>
    </message>
    <message>
        <source>Unexpected value after &apos;%1&apos;.</source>
        <translation>Nilai tidak diharapkan setelah &apos;%1&apos;.</translation>
    </message>
    <message>
        <source>Displays version information.</source>
        <translation>Menampilkan informasi versi.</translation>
    </message>
    <message>
        <source>Arguments:</source>
        <translation>Argumen:</translation>
    </message>
    <message>
        <source>Missing value after &apos;%1&apos;.</source>
        <translation>Nilai tidak ada setelah &apos;%1&apos;.</translation>
    </message>
</context>
<context>
    <name>QMessageBox</name>
    <message>
        <source>Show Details...</source>
        <translation>Tampilkan Rincian...</translation>
    </message>
    <message>
        <source>About Qt</source>
        <translation>Tentang Qt</translation>
    </message>
    <message>
        <source>Hide Details...</source>
        <translation>Sembunyikan Rincian...</translation>
    </message>
    <message>
        <source>&lt;h3&gt;About Qt&lt;/h3&gt;&lt;p&gt;This program uses Qt version %1.&lt;/p&gt;</source>
        <translation>&lt;h3&gt;Tentang Qt&lt;/h3&gt;&lt;p&gt;Program ini memakai Qt versi %1.&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>QUnicodeControlCharacterMenu</name>
    <message>
        <source>Insert Unicode control character</source>
        <translation>Sisipkan karakter kendali Unicode</translation>
    </message>
</context>
<context>
    <name>QAbstractSpinBox</name>
    <message>
        <source>Step &amp;down</source>
        <translation>Turunkan &amp;Satu</translation>
    </message>
    <message>
        <source>&amp;Step up</source>
        <translation>&amp;Naikkan Satu</translation>
    </message>
    <message>
        <source>&amp;Select All</source>
        <translation>&amp;Pilih Semua</translation>
    </message>
</context>
<context>
    <name>QInputDialog</name>
    <message>
        <source>Enter a value:</source>
        <translation>Masukkan nilai:</translation>
    </message>
</context>
<context>
    <name>QTabBar</name>
    <message>
        <source>Scroll Left</source>
        <translation>Gulir ke Kiri</translation>
    </message>
    <message>
        <source>Scroll Right</source>
        <translation>Gulir ke Kanan</translation>
    </message>
</context>
<context>
    <name>QCupsPrinterSupport</name>
    <message>
        <source>Authentication needed to use %1 on %2.</source>
        <translation>Perlu autentikasi untuk memakai %1 di %2.</translation>
    </message>
    <message>
        <source>Authentication needed to use %1.</source>
        <translation>Perlu autentikasi untuk memakai %1.</translation>
    </message>
    <message>
        <source>Authentication Needed</source>
        <translation>Perlu Autentikasi</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>Username:</source>
        <translation>Nama pengguna:</translation>
    </message>
</context>
<context>
    <name>QProgressDialog</name>
    <message>
        <source>Cancel</source>
        <translation>Batal</translation>
    </message>
</context>
<context>
    <name>CloseButton</name>
    <message>
        <source>Close Tab</source>
        <translation>Tutup Tab</translation>
    </message>
</context>
<context>
    <name>QApplication</name>
    <message>
        <source>Executable &apos;%1&apos; requires Qt %2, found Qt %3.</source>
        <translation>Program &apos;%1&apos; memerlukan Qt %2, yang ada Qt %3.</translation>
    </message>
    <message>
        <source>Incompatible Qt Library Error</source>
        <translation>Pustaka Qt Tidak Cocok</translation>
    </message>
</context>
<context>
    <name>Print Device Input Slot</name>
    <message>
        <source>Automatic</source>
        <translation>Otomatis</translation>
    </message>
</context>
<context>
    <name>Print Device Output Bin</name>
    <message>
        <source>Automatic</source>
        <translation>Otomatis</translation>
    </message>
</context>
</TS>
