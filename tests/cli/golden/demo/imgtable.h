int img_table_page000[4][4] = {
	{    0,    0,   16,   16}, 
	{   16,    0,   16,   16}, 
	{   32,    0,    8,   24}, 
	{   40,    8,    8,    8}, 
};
int img_table_page001[3][4] = {
	{    0,    0,   48,   32}, 
	{   48,    0,   24,   24}, 
	{   48,   24,   16,   16}, 
};
const int(*img_axis_index[2])[4] = {
	(const int(*)[4])img_table_page000, 
	(const int(*)[4])img_table_page001, 
};
