#pragma once
// Resource identifiers, shared by the resource script and the code.
#define IDI_VELKO 1
#define IDD_INPUT_BOX 100
#define IDC_INPUT_PROMPT 101
#define IDC_INPUT_ANSWER 102
