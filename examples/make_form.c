/*
 * Writes form.xlsx, the workbook `make demo` converts: a ruled estimate
 * form with a merged title, double, dashed and medium borders, Japanese
 * texts, a filled header row, number and date formats, a formula, a
 * superscript and a vertical text.
 *
 *   cc make_form.c $(pkg-config --cflags --libs xlsxwriter) -o make_form
 *   ./make_form form.xlsx
 */
#include <xlsxwriter.h>

static lxw_format* bordered(lxw_workbook* wb, uint8_t top, uint8_t bottom, uint8_t left, uint8_t right) {
    lxw_format* f = workbook_add_format(wb);
    format_set_top(f, top);
    format_set_bottom(f, bottom);
    format_set_left(f, left);
    format_set_right(f, right);
    format_set_align(f, LXW_ALIGN_VERTICAL_CENTER);
    return f;
}

int main(int argc, char** argv) {
    lxw_workbook* wb = workbook_new(argc > 1 ? argv[1] : "form.xlsx");
    lxw_worksheet* ws = workbook_add_worksheet(wb, "見積書");

    worksheet_set_column(ws, 0, 0, 5, NULL);
    worksheet_set_column(ws, 1, 1, 24, NULL);
    worksheet_set_column(ws, 2, 2, 22, NULL);
    worksheet_set_column(ws, 3, 3, 8, NULL);
    worksheet_set_column(ws, 4, 4, 6, NULL);
    worksheet_set_column(ws, 5, 5, 14, NULL);
    worksheet_set_column(ws, 6, 6, 4, NULL);
    worksheet_set_row(ws, 0, 36, NULL);

    lxw_format* title = workbook_add_format(wb);
    format_set_font_size(title, 20);
    format_set_align(title, LXW_ALIGN_CENTER);
    format_set_align(title, LXW_ALIGN_VERTICAL_CENTER);
    format_set_bottom(title, LXW_BORDER_DOUBLE);
    worksheet_merge_range(ws, 0, 0, 0, 6, "御　見　積　書", title);

    lxw_format* label = workbook_add_format(wb);
    format_set_bottom(label, LXW_BORDER_DASHED);
    lxw_format* date = workbook_add_format(wb);
    format_set_bottom(date, LXW_BORDER_DASHED);
    format_set_num_format(date, "yyyy\"年\"m\"月\"d\"日\"");
    format_set_align(date, LXW_ALIGN_LEFT);
    worksheet_write_string(ws, 2, 0, "件名", label);
    worksheet_merge_range(ws, 2, 1, 2, 3, "○○ビル外壁改修工事", label);
    worksheet_write_string(ws, 3, 0, "日付", label);
    worksheet_merge_range(ws, 3, 1, 3, 3, "", date);
    worksheet_write_number(ws, 3, 1, 46357, date); /* 2026-12-01 */

    lxw_format* head = bordered(wb, LXW_BORDER_MEDIUM, LXW_BORDER_DOUBLE, LXW_BORDER_THIN, LXW_BORDER_THIN);
    format_set_bg_color(head, 0xCCFFCC);
    format_set_bold(head);
    format_set_align(head, LXW_ALIGN_CENTER);
    const char* heads[] = {"No.", "品名", "規格", "数量", "単位", "金額"};
    for (int c = 0; c < 6; ++c) worksheet_write_string(ws, 5, c, heads[c], head);

    lxw_format* body = bordered(wb, LXW_BORDER_DASHED, LXW_BORDER_DASHED, LXW_BORDER_THIN, LXW_BORDER_THIN);
    lxw_format* money = bordered(wb, LXW_BORDER_DASHED, LXW_BORDER_DASHED, LXW_BORDER_THIN, LXW_BORDER_THIN);
    format_set_num_format(money, "#,##0");
    lxw_format* count = bordered(wb, LXW_BORDER_DASHED, LXW_BORDER_DASHED, LXW_BORDER_THIN, LXW_BORDER_THIN);
    format_set_num_format(count, "#,##0.0");
    lxw_format* centred = bordered(wb, LXW_BORDER_DASHED, LXW_BORDER_DASHED, LXW_BORDER_THIN, LXW_BORDER_THIN);
    format_set_align(centred, LXW_ALIGN_CENTER);
    lxw_format* sup = workbook_add_format(wb);
    format_set_font_script(sup, LXW_FONT_SUPERSCRIPT);

    struct { const char* name; const char* spec; double quantity; int squareMetres; double amount; } items[] = {
        {"足場仮設", "枠組 W900", 420, 1, 378000},
        {"高圧洗浄", "15MPa", 380, 1, 114000},
        {"下地補修", "エポキシ樹脂", 12.5, 0, 187500},
        {"外壁塗装", "シリコン系 3回塗", 380, 1, 1140000},
        {"シーリング打替", "変成シリコン", 260, 0, 312000},
        {"", "", 0, 0, 0},
        {"", "", 0, 0, 0},
    };
    for (int i = 0; i < 7; ++i) {
        const int r = 6 + i;
        if (items[i].name[0]) {
            worksheet_write_number(ws, r, 0, i + 1, centred);
            worksheet_write_string(ws, r, 1, items[i].name, body);
            worksheet_write_string(ws, r, 2, items[i].spec, body);
            worksheet_write_number(ws, r, 3, items[i].quantity, count);
            if (items[i].squareMetres) {
                lxw_rich_string_tuple m = {NULL, "m"}, two = {sup, "2"};
                lxw_rich_string_tuple* unit[] = {&m, &two, NULL};
                worksheet_write_rich_string(ws, r, 4, unit, centred);
            } else {
                worksheet_write_string(ws, r, 4, "m", centred);
            }
            worksheet_write_number(ws, r, 5, items[i].amount, money);
        } else {
            for (int c = 0; c < 6; ++c) worksheet_write_blank(ws, r, c, c == 5 ? money : body);
        }
    }

    lxw_format* totalLabel = bordered(wb, LXW_BORDER_DOUBLE, LXW_BORDER_MEDIUM, LXW_BORDER_THIN, LXW_BORDER_THIN);
    format_set_align(totalLabel, LXW_ALIGN_CENTER);
    lxw_format* total = bordered(wb, LXW_BORDER_DOUBLE, LXW_BORDER_MEDIUM, LXW_BORDER_THIN, LXW_BORDER_THIN);
    format_set_num_format(total, "\"¥\"#,##0");
    format_set_bold(total);
    worksheet_merge_range(ws, 13, 0, 13, 4, "合　計", totalLabel);
    worksheet_write_formula_num(ws, 13, 5, "=SUM(F7:F13)", total, 2131500);

    lxw_format* note = bordered(wb, LXW_BORDER_MEDIUM, LXW_BORDER_MEDIUM, LXW_BORDER_MEDIUM, LXW_BORDER_MEDIUM);
    format_set_rotation(note, 270);
    format_set_align(note, LXW_ALIGN_CENTER);
    format_set_align(note, LXW_ALIGN_VERTICAL_CENTER);
    worksheet_merge_range(ws, 5, 6, 13, 6, "消費税別途", note);

    worksheet_write_string(ws, 15, 0, "※ 金額は税抜、有効期限はお見積日より30日", NULL);
    return workbook_close(wb) == LXW_NO_ERROR ? 0 : 1;
}
