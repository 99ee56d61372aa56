#!/usr/bin/env python3
"""Writes the seed corpus of celllinks_fuzz (its comment gives the input form).

Each seed is a short session on the initial file of one model type, written
with the names of the cell type and link tables. Run from the repository root:
    python3 bench/fuzz/celllinks_seeds.py
"""

import os
import re
import struct

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
OUT = os.path.join(ROOT, "bench", "fuzz", "corpus", "celllinks")


def ids(def_file, macro):
    with open(os.path.join(ROOT, "src", "markup", def_file)) as f:
        names = re.findall(r"^" + macro + r"\((\w+)", f.read(), re.M)
    return {name: i for i, name in enumerate(names)}


TYPES = ids("celltypes.def", "RWQ_CELL_TYPE")
LINKS = ids("celllinks.def", "RWQ_CELL_LINK")

CHARSET, EDITORS_OPEN, ANSWER_OK, IDENTIFICATION = 1, 2, 4, 8
ENTER, SPACE, BACKSPACE = 13, 32, 8
EDITABLE, PAINTING = 1, 2


def head(model, frequencies=(), switches=CHARSET | EDITORS_OPEN | ANSWER_OK, window=0, identification=b""):
    data = struct.pack("<BBBi", model, len(frequencies), switches | (IDENTIFICATION if identification else 0), window)
    data += identification.ljust(78, b" ") if identification else b""
    return data + b"".join(struct.pack("<I", hz) for hz in frequencies)


def request(action, cell_type, link, number, context=0, switches=EDITABLE):
    return struct.pack("<BBHiiB", action, TYPES[cell_type], LINKS[link], number, context, switches)


def show(cell_type, link, number, context=0, switches=EDITABLE):
    return request(0, cell_type, link, number, context, switches)


def key(cell_type, link, number, code, context=0):
    return request(1, cell_type, link, number, context) + struct.pack("<i", code)


def typed(cell_type, link, number, text):
    return request(2, cell_type, link, number) + struct.pack("<B", len(text)) + text.encode()


def choose(cell_type, link, number, column, value, reply_context=0):
    return request(3, cell_type, link, number) + struct.pack("<Hii", LINKS[column], value, reply_context)


def menu(cell_type, link, number, command):
    return request(4, cell_type, link, number) + struct.pack("<i", command)


SEEDS = {
    "lmr_blank_row": head(0) + typed("CT_Mch", "CL_Mch_Operating_Freq", 0, "146.521")
    + show("CT_Mch", "CL_Mch_No", 0) + key("CT_Mch", "CL_Mch_Dup", 0, SPACE)
    + typed("CT_Mch", "CL_Mch_FreqT", 0, "146.6") + key("CT_Mch", "CL_Mch_Offset_Freq", 0, ENTER),
    "lmr_scan_lists": head(0, [146520000, 146540000])
    + choose("CT_Mch", "CL_Mch_Scan_List", 0, "Flex0", 3) + key("CT_Mch", "CL_Mch_Scan_List", 1, ENTER)
    + choose("CT_Mch", "CL_Mch_Scan_ListSel", 1, "Flex0", 2) + choose("CT_Mch", "CL_Mch_Atr", 0, "Flex0", 5)
    + key("CT_Mch", "CL_Mch_Inh", 1, BACKSPACE),
    "pmr_names_and_tones": head(1, [446006250, 446018750])
    + typed("CT_Mch", "CL_Mch_Text_Pmr", 0, "BASE") + key("CT_Mch", "CL_Mch_Text_Pmr", 1, ord("A"))
    + choose("CT_Mch", "CL_Mch_CTone_R_Pmr", 0, "Flex0", 13) + typed("CT_Mch", "CL_Mch_CTone_T_Pmr", 1, "023N")
    + key("CT_Mch", "CL_Mch_CTone_T_Pmr", 0, ord("0"))
    + show("CT_Mch", "CL_Mch_Text_Pmr", 0, switches=EDITABLE | PAINTING),
    "vexl_window": head(2, [446093750], window=0)
    + show("CT_Mch_Win", "CL_MchWin_No", 0) + key("CT_Mch_Win", "CL_Mch_FreqR_Pmr", 0, ENTER)
    + typed("CT_Mch", "CL_Mch_FreqR_Pmr", 0, "446.1") + key("CT_Mch", "CL_Mch_FreqT_Pmr", 0, ord("=")),
    "dpmr446_frequency_table": head(3, [446003125])
    + key("CT_Mch_Pmr446", "CL_Mch_FreqR_Pmr446", 1, ord("5"))
    + choose("CT_Mch_Pmr446", "CL_Mch_FreqR_Pmr446", 1, "Flex0", 7)
    + choose("CT_Mch_Pmr446", "CL_Mch_FreqR_Pmr446", 0, "Flex0", 13)
    + show("CT_Mch_Pmr446", "CL_Mch_Atr_Pmr446", 1),
    "banks_and_clone_information": head(0, [150000000], identification=b"\x00\x00DEALER COMMENT  SECOND LINE     ")
    + show("CT_Null", "CL_Bank_UsedQty", 0, 0) + typed("CT_Null", "CL_Mch_BankText", 0, "CITY")
    + key("CT_Null", "CL_Bank_SmarTrunk", 0, SPACE, 1) + show("CT_Null", "CL_Check_Mch", 0)
    + show("CT_Null", "CL_CloneInfo_Model", 0) + show("CT_Null", "CL_CloneInfo_Esn", 0)
    + show("CT_Null", "CL_Misc_ChNo_1Base", 127),
    "model_change": head(0, [146520000])
    + key("CT_Null", "CL_Model_Pmr", 0, ENTER) + show("CT_Mch", "CL_Mch_No_Pmr", 0)
    + menu("CT_Mch", "CL_Mch_No", 0, 1) + show("CT_Mch", "CL_Null", 0),
}

os.makedirs(OUT, exist_ok=True)
for name, seed in SEEDS.items():
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(seed)
